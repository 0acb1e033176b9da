#pragma once
// The modeless "Display '.out' File" dialog: the raw text of one search-engine output file.
// The main frame makes it once and reuses it for every file the Dta files page asks for.

#include <QDialog>

class QPlainTextEdit;

namespace zar {

class CDisplayOutFileDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9159;

    explicit CDisplayOutFileDlg(QWidget* parent = nullptr);

    // Shows folder/fileName; nothing for an empty folder or name. A file that cannot be read
    // leaves the dialog as it was, after a message.
    void LoadFile(const QString& folder, const QString& fileName);

    QString Text() const { return text_; }
    QString FileName() const { return fileName_; }
    QString Folder() const { return folder_; }
    QPlainTextEdit* Edit() const { return edit_; }

  private:
    QPlainTextEdit* edit_;
    QString text_;
    QString fileName_;
    QString folder_;
};

}  // namespace zar
