#include "databases/DatabaseToolWorker.h"

#include "DatabaseTestUtil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// Keeps every message and payload posted to it.
struct Sink {
    Sink() {
        for (unsigned m : {dbmsg::StatusTextMessage(), dbmsg::ProgressMessage(),
                           dbmsg::ListLineMessage(), dbmsg::WorkDoneMessage()})
            receiver.messageMap().on(m, [this](const Message& msg) {
                messages.push_back(msg.message);
                if (msg.message == dbmsg::StatusTextMessage() ||
                    msg.message == dbmsg::ListLineMessage())
                    texts << *msg.payloadAs<QString>();
                if (msg.message == dbmsg::WorkDoneMessage()) done = *msg.payload;
                return LRESULT(0);
            });
    }
    MessageReceiver receiver;
    std::vector<unsigned> messages;
    QStringList texts;
    std::any done;
};

}  // namespace

TEST(DatabaseToolWorker, IndexBuildPostsStatusAndResult) {
    QTemporaryDir dir;
    const QString fasta = dbtest::WriteFile(dir, "db.fasta", ">a\nK\n>b\nR\n");
    Sink sink;
    {
        CDatabaseToolWorker worker(&sink.receiver);
        ASSERT_TRUE(worker.startIndexBuild(fasta, false, true));
        worker.wait();
    }
    QCoreApplication::processEvents();
    const auto* result = std::any_cast<FastaIndexBuildResult>(&sink.done);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->entries, 2);
    EXPECT_EQ(sink.texts.last(), "Processed 2 entries while creating the fasta index");
    EXPECT_EQ(dbtest::ReadIndex(fasta + ".idx").size(), 3u);
}

TEST(DatabaseToolWorker, FailedBuildShowsItsTextLast) {
    QTemporaryDir dir;
    Sink sink;
    {
        CDatabaseToolWorker worker(&sink.receiver);
        ASSERT_TRUE(worker.startIndexBuild(dir.filePath("absent.fasta"), false, false));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(sink.texts.last(), "Unable to open the fasta database");
}

TEST(DatabaseToolWorker, SelectionPostsListLinesAndResult) {
    QTemporaryDir dir;
    SelectRequest request;
    request.originalPath = dbtest::WriteFile(dir, "o.fasta", ">a\nK\n");
    request.targetPath = dir.filePath("t.fasta");
    Sink sink;
    {
        CDatabaseToolWorker worker(&sink.receiver);
        ASSERT_TRUE(worker.startSelection(request));
        EXPECT_FALSE(worker.startSelection(request) && worker.isBusy());
        worker.wait();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(std::any_cast<SelectResult>(sink.done), SelectResult::Completed);
    EXPECT_EQ(sink.texts.last(), "Done");
}

TEST(DatabaseToolWorker, DestroyingTheWorkerCancelsTheSelection) {
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i) bytes += ">e\nKR\n";
    SelectRequest request;
    request.originalPath = dbtest::WriteFile(dir, "o.fasta", bytes);
    request.targetPath = dbtest::WriteFile(dir, "t.fasta", "old");
    Sink sink;
    {
        CDatabaseToolWorker worker(&sink.receiver);
        ASSERT_TRUE(worker.startSelection(request));
    }
    QCoreApplication::processEvents();
    const SelectResult result = std::any_cast<SelectResult>(sink.done);
    EXPECT_TRUE(result == SelectResult::Cancelled || result == SelectResult::Completed);
    if (result == SelectResult::Cancelled) {
        EXPECT_EQ(dbtest::ReadFile(request.targetPath), "old");
    }
}
