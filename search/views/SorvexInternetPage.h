#pragma once
// The "Internet URL's" page of the Configuration sheet: the base addresses of the BLAST and
// Swiss-Prot look-ups. The page only keeps the addresses; the look-ups build their requests on
// them and open them through the shell.

#include "controls/DialogBase.h"

#include <QString>

class QLineEdit;

namespace zar {

class CSorvexInternetPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    // Reads the two addresses from the settings.
    explicit CSorvexInternetPage(QWidget* sheet = nullptr);

    // Writes the two addresses, each without one trailing "/".
    void SaveSettings();
    void OnHelp();

    QString BlastUrl() const { return blastUrl_; }
    QString SwissProtUrl() const { return swissProtUrl_; }
    QLineEdit* BlastEdit() const { return blastEdit_; }
    QLineEdit* SwissProtEdit() const { return swissProtEdit_; }

  protected:
    void DoDataExchange(CDataExchange& dx) override;

  private:
    QString blastUrl_;
    QString swissProtUrl_;
    QLineEdit* blastEdit_;
    QLineEdit* swissProtEdit_;
};

}  // namespace zar
