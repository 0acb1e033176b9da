#pragma once
// Views by class name: each subsystem registers the views it provides, and the layouts of the
// main frame make their panes from here. A pane whose view is not provided is left out.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace zar {

class CZarViewWidget;

using ViewMaker = std::function<CZarViewWidget*(QWidget* parent)>;

void RegisterViewClass(const QString& className, ViewMaker maker);
// Whether a subsystem provides the class (a class registered with an empty maker is not).
bool IsViewClassRegistered(const QString& className);
// A new view of the class, or null when no subsystem provides it.
CZarViewWidget* CreateViewOfClass(const QString& className, QWidget* parent);
QStringList RegisteredViewClasses();

}  // namespace zar
