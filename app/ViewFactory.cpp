#include "ViewFactory.h"

#include "ZarViewWidget.h"

#include <QHash>

namespace zar {
namespace {
QHash<QString, ViewMaker>& makers() {
    static QHash<QString, ViewMaker> m;
    return m;
}
}  // namespace

void RegisterViewClass(const QString& className, ViewMaker maker) { makers().insert(className, std::move(maker)); }

bool IsViewClassRegistered(const QString& className) {
    const auto it = makers().constFind(className);
    return it != makers().constEnd() && *it;
}

CZarViewWidget* CreateViewOfClass(const QString& className, QWidget* parent) {
    auto it = makers().find(className);
    if (it == makers().end() || !*it) return nullptr;
    return (*it)(parent);
}

QStringList RegisteredViewClasses() { return makers().keys(); }

}  // namespace zar
