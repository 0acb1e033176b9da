#include "RunFileReader.h"

#include "hub/ZarDoc.h"
#include "rawfile/VRawfile.h"

#include <QFileInfo>

namespace zar {

VRawfile* RunFileReader(const QString& path, std::unique_ptr<VRawfile>& own) {
    if (path.isEmpty()) return nullptr;
    if (CZarDoc* doc = CZarDoc::GetDoc()) {
        VRawfile* reader = doc->GetRawFile();
        if (reader && reader->isOpen() && QFileInfo(reader->fileName()) == QFileInfo(path))
            return reader;
    }
    if (!own) own = std::make_unique<VRawfile>();
    if (own->isOpen() && QFileInfo(own->fileName()) == QFileInfo(path)) return own.get();
    return own->open(path) ? own.get() : nullptr;
}

}  // namespace zar
