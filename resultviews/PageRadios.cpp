#include "PageRadios.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLayout>
#include <QRadioButton>

namespace zar {

QButtonGroup* RadioGroup(const Radios& radios, QWidget* parent, QLayout* layout) {
    auto* group = new QButtonGroup(parent);
    for (const auto& [id, label] : radios) {
        auto* radio = new QRadioButton(QString::fromLatin1(label), parent);
        group->addButton(radio, id);
        layout->addWidget(radio);
    }
    return group;
}

QButtonGroup* RadioGroup(const QStringList& labels, QWidget* parent, QLayout* layout) {
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < labels.size(); ++i) {
        auto* radio = new QRadioButton(labels[i], parent);
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    return group;
}

void EnableRadio(QButtonGroup* group, int id, bool enable) {
    if (QAbstractButton* b = group->button(id)) b->setEnabled(enable);
}

void CheckRadio(QButtonGroup* group, int id) {
    if (QAbstractButton* b = group->button(id)) b->setChecked(true);
}

}  // namespace zar
