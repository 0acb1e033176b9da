#pragma once
// Radio groups of the options pages: each button carries the value it stands for as its id, so
// that a page that offers only some modes or keys still reads and sets them by value.

#include <QStringList>

#include <utility>
#include <vector>

class QButtonGroup;
class QLayout;
class QWidget;

namespace zar {

// Which table's set of pages.
enum class ResultsPageSet { Summary, Consensus, Massmap };

using Radios = std::vector<std::pair<int, const char*>>;

// Radio buttons added to layout, with ids as given (or 0, 1, ... for a list of labels).
QButtonGroup* RadioGroup(const Radios& radios, QWidget* parent, QLayout* layout);
QButtonGroup* RadioGroup(const QStringList& labels, QWidget* parent, QLayout* layout);
// Enables or checks the button of a value; nothing when the group has none.
void EnableRadio(QButtonGroup* group, int id, bool enable);
void CheckRadio(QButtonGroup* group, int id);

}  // namespace zar
