#include "GridHeaderFooterDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zar {

CGXHeaderFooterDialog::CGXHeaderFooterDialog(const GridPrintProperties& properties, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Page Header and Footer"));
    auto* box = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const char* parts[] = {"Left", "Centre", "Right"};
    for (int i = 0; i < 3; ++i)
        grid->addWidget(new QLabel(QString::fromLatin1(parts[i]), this), 0, i + 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("&Header:"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("&Footer:"), this), 2, 0);
    for (int i = 0; i < 3; ++i) {
        header_[i] = new QLineEdit(properties.header[i], this);
        footer_[i] = new QLineEdit(properties.footer[i], this);
        grid->addWidget(header_[i], 1, i + 1);
        grid->addWidget(footer_[i], 2, i + 1);
    }
    static_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget())->setBuddy(header_[0]);
    static_cast<QLabel*>(grid->itemAtPosition(2, 0)->widget())->setBuddy(footer_[0]);
    box->addLayout(grid);
    box->addWidget(new QLabel(
        QStringLiteral("$P is the page number, $N the number of pages and $D the date."), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    box->addWidget(buttons);
}

void CGXHeaderFooterDialog::GetTexts(GridPrintProperties& properties) const {
    for (int i = 0; i < 3; ++i) {
        properties.header[i] = header_[i]->text();
        properties.footer[i] = footer_[i]->text();
    }
}

}  // namespace zar
