#pragma once
// The XML run formats are read by a parser that trusts the markup (a tag written wrongly can
// crash it), so their markup is checked first, in blocks: a run of any size is checked in a
// little memory.

#include <QString>
#include <QtGlobal>

class QIODevice;

namespace zar::rawfile {

// Bytes read at a time by the check; a construct longer than this (a long comment) grows it.
// Small enough for the allocator to serve from its heap: a freed block of memory mapped on
// its own would raise the allocator's mapping threshold, and the run's reading would then keep
// more memory resident.
constexpr qint64 kMarkupBlockSize = qint64(64) << 10;

// Offset of the first fault in the markup of the XML text `device` reads, or -1 when every tag
// is written as XML wants it: no NUL byte; declarations, comments and CDATA closed; element
// names; attributes separated by blanks, each name="value" or name='value' without '<' in the
// value. Nesting is not checked. The offset is the same whatever the block size.
qint64 FirstMarkupFault(QIODevice& device, qint64 blockSize = kMarkupBlockSize);

// False, with the error text, when `path` is an mzML or mzXML run whose markup is broken.
// Other files (and files that cannot be read) are left to the library.
bool CheckRunFileMarkup(const QString& path, QString& error);
// The same for the run that an open device reads from its start.
bool CheckRunMarkup(QIODevice& device, QString& error);

}  // namespace zar::rawfile
