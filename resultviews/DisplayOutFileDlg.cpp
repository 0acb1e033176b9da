#include "DisplayOutFileDlg.h"

#include "ZarApp.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "core/TextFile.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zar {

CDisplayOutFileDlg::CDisplayOutFileDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Display '.out' File"));
    setModal(false);
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);
    edit_ = new QPlainTextEdit(this);
    edit_->setReadOnly(true);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { ShowContextHelp(this, kTemplateId); });
    layout->addWidget(buttons);
}

void CDisplayOutFileDlg::LoadFile(const QString& folder, const QString& fileName) {
    if (folder.isEmpty() || fileName.isEmpty()) return;
    // Whole lines, however long: a long reference line stays one line.
    TextLineReader reader;
    if (!reader.open(JoinPath(PortablePath(folder), fileName))) {
        ZarMessageBox(QStringLiteral("Unable to open the out file"));
        return;
    }
    QString text;
    QString line;
    while (reader.readLine(line)) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    // The title names the new file only once it is shown.
    folder_ = folder;
    fileName_ = fileName;
    text_ = text;
    setWindowTitle(QStringLiteral("Display ''.out'' File - ") + fileName);
    edit_->setPlainText(QString(text_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace zar
