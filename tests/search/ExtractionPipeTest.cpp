// Reading the extraction program's pipe: a read takes what the program announced and no more,
// never waits, never runs past its buffer, and keeps the next message where it belongs.

#include "search/ExtractionPipe.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace zar;
using Status = CExtractionPipe::Status;

namespace {

QByteArray Utf16(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

class ExtractionPipeTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(pipe_.Open()); }
    void Write(const QByteArray& bytes) {
        ASSERT_EQ(::write(pipe_.WriteEnd(), bytes.constData(), static_cast<size_t>(bytes.size())),
                  bytes.size());
    }
    CExtractionPipe pipe_;
};

}  // namespace

TEST_F(ExtractionPipeTest, AMessageIsReadWhole) {
    const QByteArray first = Utf16(QStringLiteral("$run.0100.0100.2.dta"));
    const QByteArray second = Utf16(QStringLiteral("$run.0101.0101.3.dta"));
    Write(first + second);
    auto read = pipe_.Read(first.size());
    EXPECT_EQ(read.status, Status::Message);
    EXPECT_EQ(read.text, QStringLiteral("$run.0100.0100.2.dta"));
    EXPECT_EQ(pipe_.Read(second.size()).text, QStringLiteral("$run.0101.0101.3.dta"));
}

TEST_F(ExtractionPipeTest, ALongerMessageIsCutAtTheBufferAndTheNextOneStillFound) {
    const QByteArray longMessage = Utf16(QStringLiteral("$") + QString(3000, QLatin1Char('a')));
    const QByteArray next = Utf16(QStringLiteral("$next.dta"));
    Write(longMessage + next);
    const auto read = pipe_.Read(longMessage.size());
    ASSERT_EQ(read.status, Status::Message);
    EXPECT_EQ(read.text.size(), CExtractionPipe::kBufferBytes / 2);
    EXPECT_EQ(pipe_.Read(next.size()).text, QStringLiteral("$next.dta"));
}

TEST_F(ExtractionPipeTest, MinusOneDrainsAndReadsNothingElse) {
    Write(QByteArray(1500, 'z'));
    EXPECT_EQ(pipe_.Read(-1).status, Status::Drained);
    // Up to 1024 bytes went; the rest is still there.
    const auto rest = pipe_.Read(476);
    EXPECT_EQ(rest.status, Status::Message);
    EXPECT_EQ(rest.text.size(), 238);
}

TEST_F(ExtractionPipeTest, NothingWaitingIsSaidAtOnce) {
    // The read does not wait for a message that is not there.
    EXPECT_EQ(pipe_.Read(40).status, Status::Empty);
}

TEST_F(ExtractionPipeTest, ATextStopsAtItsTerminator) {
    QByteArray bytes = Utf16(QStringLiteral("$a.dta"));
    bytes.append(2, '\0');
    bytes += Utf16(QStringLiteral("rubbish"));
    bytes.append('x');  // half a unit
    Write(bytes);
    EXPECT_EQ(pipe_.Read(bytes.size()).text, QStringLiteral("$a.dta"));
}

TEST_F(ExtractionPipeTest, AGoneWriterBreaksThePipeForGood) {
    pipe_.CloseWriteEnd();
    EXPECT_EQ(pipe_.Read(10).status, Status::Broken);
    EXPECT_TRUE(pipe_.IsBroken());
    EXPECT_EQ(pipe_.Read(10).status, Status::Skipped);
}

TEST_F(ExtractionPipeTest, LengthsThatNameNothingReadNothing) {
    Write(Utf16(QStringLiteral("$keep.dta")));
    EXPECT_EQ(pipe_.Read(0).status, Status::Skipped);
    EXPECT_EQ(pipe_.Read(-7).status, Status::Skipped);
    EXPECT_EQ(pipe_.Read(18).text, QStringLiteral("$keep.dta"));
}
