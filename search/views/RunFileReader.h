#pragma once
// The reader the launchers and the Dta dialog ask about a run: the document's own when it has
// that run open (no second reading of the file), else one the caller keeps.

#include <QString>

#include <memory>

namespace zar {

class VRawfile;

// The reader with path open, or null when the file cannot be opened.
VRawfile* RunFileReader(const QString& path, std::unique_ptr<VRawfile>& own);

}  // namespace zar
