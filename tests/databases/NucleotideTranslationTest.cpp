#include "databases/NucleotideTranslation.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(NucleotideTranslation, CodonsFollowTheStandardCode) {
    const struct {
        const char* codon;
        char amino;
    } cases[] = {
        {"ATG", 'M'}, {"AAC", 'N'}, {"TTT", 'F'}, {"TTA", 'L'}, {"CTN", 'L'},
        {"GGX", 'G'}, {"TCX", 'S'}, {"AGA", 'R'}, {"AGC", 'S'}, {"TGG", 'W'},
        {"ATA", 'I'}, {"CAT", 'H'}, {"TAA", '@'}, {"TAG", '@'}, {"TGA", '@'},
        {"TGX", '@'}, {"AUG", '@'}, {"atg", '@'}, {"AAN", '@'}, {"NAA", '@'},
    };
    for (const auto& c : cases) EXPECT_EQ(TranslateCodon(c.codon, 0, 1), c.amino) << c.codon;
    // Backward reading takes the characters at i, i-1, i-2.
    EXPECT_EQ(TranslateCodon("GTA", 2, -1), 'M');
}

TEST(NucleotideTranslation, SixFramesOfOneSequence) {
    // ATG GCC AAA TGA CT: forward frames from the first, second and third nucleotide;
    // reverse frames read the reverse complement AGTCATTTGGCCAT from its first, second, third.
    const std::string dna = "ATGGCCAAATGACT";
    const struct {
        int frame;
        const char* protein;
    } frames[] = {
        {1, "MAK@"}, {2, "WPND"}, {3, "GQMT"}, {4, "SHLA"},
        {5, "VIWP"}, {6, "SFGH"}, {0, ""},     {7, ""},
    };
    for (const auto& f : frames) EXPECT_EQ(TranslateFrame(dna, f.frame), f.protein) << f.frame;
}

TEST(NucleotideTranslation, ComplementKeepsOtherCharacters) {
    EXPECT_EQ(Complement("ATGCNU"), "TACGNU");
}

TEST(NucleotideTranslation, ShortSequencesGiveWholeCodonsOnly) {
    EXPECT_EQ(TranslateFrame("ATGAAAC", 1), "MK");
    EXPECT_EQ(TranslateFrame("AT", 1), "");
    EXPECT_EQ(TranslateFrame("", 4), "");
    EXPECT_EQ(TranslateFrame("ATGC", 4), "A");  // reverse complement GCAT, frame from G
}
