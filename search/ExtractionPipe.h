#pragma once
// The pipe whose write end is the extraction program's standard error. The program writes each
// message whole, then posts its length; the launcher reads that many bytes here. A read never
// waits, never takes more than the message buffer and never runs past it: a longer message is
// cut at the buffer and the rest of it skipped, so the next message starts where it should.

#include <QString>

namespace zar {

class CExtractionPipe {
  public:
    // A pipe message is at most this many bytes (1024 UTF-16 units with the terminator).
    static constexpr int kBufferBytes = 2048;
    // What a length of -1 throws away.
    static constexpr int kDrainBytes = 1024;
    static constexpr int kPipeBytes = 150000;

    enum class Status {
        Message,  // text holds the message
        Drained,  // a length of -1: up to kDrainBytes were thrown away
        Empty,    // nothing was waiting in the pipe
        Broken,   // the writer is gone; nothing more is read from this pipe
        Skipped,  // the pipe broke before, or a length that names nothing
        Failed,   // the read failed: error holds the system error
    };
    struct ReadResult {
        Status status = Status::Skipped;
        QString text;
        int error = 0;
    };

    CExtractionPipe() = default;
    ~CExtractionPipe();
    CExtractionPipe(const CExtractionPipe&) = delete;
    CExtractionPipe& operator=(const CExtractionPipe&) = delete;

    // A new pipe (an open one is closed first); false when the system gives none.
    bool Open();
    bool IsOpen() const { return readFd_ >= 0; }
    // For the child: it becomes its standard error.
    int WriteEnd() const { return writeFd_; }
    // The parent's copy of the write end goes once the child runs, so that the child's end
    // is the last one and its exit reads as a broken pipe.
    void CloseWriteEnd();
    void Close();
    bool IsBroken() const { return broken_; }

    // The message of length bytes the program posted.
    ReadResult Read(long long length);

  private:
    // Reads up to size bytes into data without waiting; -1 with errno set on failure, and
    // eof set when the writer has closed its end.
    long ReadSome(char* data, long size, bool& eof);
    void Skip(long long bytes);

    int readFd_ = -1;
    int writeFd_ = -1;
    bool broken_ = false;
};

}  // namespace zar
