#include "DemoProteins.h"

#include "DemoRandom.h"

#include <algorithm>

namespace zar {

namespace {

constexpr int kFastaLineLength = 60;
constexpr int kBackgroundProteins = 40;
constexpr std::uint64_t kBackgroundSeed = 20261210;

// Residues drawn for the background proteins, each as often as in typical proteomes.
constexpr const char* kResiduePool =
    "AAAAAAAARRRRRNNNNDDDDDCCQQQQEEEEEEEGGGGGGGHHIIIIILLLLLLLLLLKKKKKKMMFFFFPPPPPSSSSSSS"
    "TTTTTWYYYVVVVVVV";

QString Reversed(const QString& sequence) {
    QString text = sequence;
    std::reverse(text.begin(), text.end());
    return text;
}

}  // namespace

std::vector<DemoProtein> DemoTargetProteins() {
    return {
        {QStringLiteral("sp|P02769|ALBU_BOVIN"), QStringLiteral("Serum albumin OS=Bos taurus"),
         QStringLiteral(
             "DTHKSEIAHRFKDLGEEHFKGLVLIAFSQYLQQCPFDEHVKLVNELTEFAKTCVADESHAGCEKSLHTLFGDELCKVASLRE"
             "TYGDMADCCEKQEPERNECFLSHKDDSPDLPKLKPDPNTLCDEFKADEKKFWGKYLYEIARRHPYFYAPELLYYANKYNGV"
             "FQECCQAEDKGACLLPKIETMREKVLASSARQRLRCASIQKFGERALKAWSVARLSQKFPKAEFVEVTKLVTDLTKVHKEC"
             "CHGDLLECADDRADLAKYICDNQDTISSKLKECCDKPLLEKSHCIAEVEKDAIPENLPPLTADFAEDKDVCKNYQEAKDAF"
             "LGSFLYEYSRRHPEYAVSVLLRLAKEYEATLEECCAKDDPHACYSTVFDKLKHLVDEPQNLIKQNCDQFEKLGEYGFQNALI"
             "VRYTRKVPQVSTPTLVEVSRSLGKVGTRCCTKPESERMPCTEDYLSLILNRLCVLHEKTPVSEKVTKCCTESLVNRRPCFSA"
             "LTPDETYVPKAFDEKLFTFHADICTLPDTEKQIKKQTALVELLKHKPKATEEQLKTVMENFVAFVDKCCAADDKEACFAVEG"
             "PKLVVSTQTALA"),
         true, 1.0},
        {QStringLiteral("sp|P68082|MYG_HORSE"), QStringLiteral("Myoglobin OS=Equus caballus"),
         QStringLiteral("GLSDGEWQQVLNVWGKVEADIAGHGQEVLIRLFTGHPETLEKFDKFKHLKTEAEMKASEDLKKHGTVVLTALG"
                        "GILKKKGHHEAELKPLAQSHATKHKIPIKYLEFISDAIIHVLHSKHPGDFGADAQGAMTKALELFRNDIAAKYK"
                        "ELGFQG"),
         true, 0.8},
        {QStringLiteral("sp|P00004|CYC_HORSE"), QStringLiteral("Cytochrome c OS=Equus caballus"),
         QStringLiteral("GDVEKGKKIFVQKCAQCHTVEKGGKHKTGPNLHGLFGRKTGQAPGFTYTDANKNKGITWKEETLMEYLENPKKY"
                        "IPGTKMIFAGIKKKTEREDLIAYLKKATNE"),
         true, 0.6},
        {QStringLiteral("sp|P00698|LYSC_CHICK"), QStringLiteral("Lysozyme C OS=Gallus gallus"),
         QStringLiteral("KVFGRCELAAAMKRHGLDNYRGYSLGNWVCAAKFESNFNTQATNRNTDGSTDYGILQINSRWWCNDGRTPGSRN"
                        "LCNIPCSALLSSDITASVNCAKKIVSDGNGMNAWVAWRNRCKGTDVQAWIRGCRL"),
         true, 0.5},
        {QStringLiteral("sp|P0CG53|UBB_BOVIN"), QStringLiteral("Polyubiquitin-B OS=Bos taurus"),
         QStringLiteral("MQIFVKTLTGKTITLEVEPSDTIENVKAKIQDKEGIPPDQQRLIFAGKQLEDGRTLSDYNIQKESTLHLVLRL"
                        "RGG"),
         true, 0.3},
    };
}

std::vector<DemoProtein> DemoDatabaseProteins() {
    std::vector<DemoProtein> proteins = DemoTargetProteins();
    DemoRandom random(kBackgroundSeed);
    const int poolSize = static_cast<int>(qstrlen(kResiduePool));
    for (int i = 1; i <= kBackgroundProteins; ++i) {
        DemoProtein background;
        background.reference =
            QStringLiteral("bg|BKG%1|BKG%1_DEMO").arg(i, 3, 10, QLatin1Char('0'));
        background.description = QStringLiteral("Background protein %1").arg(i);
        background.target = false;
        const int length = 220 + random.below(180);
        background.sequence = QStringLiteral("M");
        for (int r = 1; r < length; ++r)
            background.sequence.append(QLatin1Char(kResiduePool[random.below(poolSize)]));
        proteins.push_back(background);
    }
    const size_t forward = proteins.size();
    for (size_t i = 0; i < forward; ++i) {
        DemoProtein decoy;
        decoy.reference = QStringLiteral("rev_") + proteins[i].reference;
        decoy.description = QStringLiteral("Reversed sequence");
        decoy.sequence = Reversed(proteins[i].sequence);
        decoy.target = false;
        proteins.push_back(decoy);
    }
    return proteins;
}

QString DemoFastaText(const std::vector<DemoProtein>& proteins) {
    QString text;
    for (const DemoProtein& protein : proteins) {
        text += QLatin1Char('>') + protein.reference + QLatin1Char(' ') + protein.description +
                QLatin1Char('\n');
        for (qsizetype i = 0; i < protein.sequence.size(); i += kFastaLineLength)
            text += protein.sequence.mid(i, kFastaLineLength) + QLatin1Char('\n');
    }
    return text;
}

int DemoTargetIndex(const QString& reference) {
    const std::vector<DemoProtein> targets = DemoTargetProteins();
    for (size_t i = 0; i < targets.size(); ++i)
        if (targets[i].reference == reference) return static_cast<int>(i);
    return -1;
}

}  // namespace zar
