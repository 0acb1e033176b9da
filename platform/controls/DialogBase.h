#pragma once
// Bases of the panes' dialogs, property sheets, pages and form views: controls are found by
// their numeric ids, data exchange moves values between controls and members (and validates on
// the way in), and the first showing runs OnInitDialog once.

#include <QDialog>
#include <QHash>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QTabWidget;

namespace zar {

class CDoubleEditCtrl;
class CDoubleRangeEditCtrl;
class CIntEditCtrl;
class CIntRangeEditCtrl;

// One data-exchange pass: saving (controls -> members, validated) or loading.
class CDataExchange {
  public:
    explicit CDataExchange(bool saveAndValidate) : save_(saveAndValidate) {}
    bool IsSaving() const { return save_; }
    bool Failed() const { return failed_; }
    // Marks the pass failed. Only the first failure is told: its control is brought into view
    // (the tab or stacked page that holds it is shown), the message names the control's field,
    // and the control gets the focus with its text selected. The member keeps its old value.
    void Fail(QWidget* control, const QString& message);
    // The control that failed the pass; null while none did.
    QWidget* FailedControl() const { return failedControl_; }

  private:
    bool save_;
    bool failed_ = false;
    QWidget* failedControl_ = nullptr;
};

// The name of a control's field as its label shows it ("&Daltons:" -> "Daltons"): the
// control's accessible name when it has one, else the label whose buddy it is or the label of
// its form row; empty when it has none.
QString FieldName(const QWidget* control);
// Shows the tab or stacked page that holds the control, at every level up to its window.
void RevealControl(QWidget* control);

void DDX_Double(CDataExchange& dx, CDoubleEditCtrl* edit, double& value);
void DDX_Int(CDataExchange& dx, CIntEditCtrl* edit, int& value);
// A range "low-high" within the edit's limits, the low end not above the high end.
void DDX_DoubleRange(CDataExchange& dx, CDoubleRangeEditCtrl* edit, double& low, double& high);
void DDX_IntRange(CDataExchange& dx, CIntRangeEditCtrl* edit, int& first, int& last);
// Text with a length limit (0: none); a longer text fails the pass on saving.
void DDX_Text(CDataExchange& dx, QLineEdit* edit, QString& value, int maxLength = 0);
void DDX_Check(CDataExchange& dx, QCheckBox* box, int& value);
// A radio group whose button ids are the values: saving takes the checked button's id (the
// value stays when none is checked), loading checks the button of the value.
void DDX_Radio(CDataExchange& dx, QButtonGroup* group, int& value);

// Controls by id and tool tips by id, shared by the bases below.
class CControlTable {
  public:
    void AddControl(int id, QWidget* control) { controls_.insert(id, control); }
    QWidget* GetDlgItem(int id) const { return controls_.value(id, nullptr); }
    // The tool tip of a control, as the string table gives it for the control's id.
    void SetToolTipText(int id, const QString& text);

  private:
    QHash<int, QWidget*> controls_;
};

class CDialogBase : public QDialog, public CControlTable {
    Q_OBJECT
  public:
    CDialogBase(int templateId, QWidget* parent);
    int TemplateId() const { return templateId_; }

    // Runs the dialog; OnInitDialog runs first. QDialog::Accepted on OK.
    int DoModal();
    // Calls DoDataExchange; false when saving failed (the message was shown).
    bool UpdateData(bool saveAndValidate = true);
    // Ensures OnInitDialog ran (for callers that drive the dialog without showing it).
    void EnsureInitialized();

  protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange&) {}
    // OK: saves the data and closes only when that succeeded.
    virtual void OnOK();
    void accept() override { OnOK(); }
    void showEvent(QShowEvent* event) override;
    // The standard OK/Cancel(/Help) buttons wired to OnOK and reject.
    QDialogButtonBox* MakeButtons(bool withHelp);

  private:
    int templateId_;
    bool initialized_ = false;
};

class CPropertyPageBase : public QWidget, public CControlTable {
    Q_OBJECT
  public:
    explicit CPropertyPageBase(int templateId, const QString& title, QWidget* parent = nullptr);
    int TemplateId() const { return templateId_; }
    bool UpdateData(bool saveAndValidate = true);
    virtual bool OnInitDialog() { return true; }

  protected:
    virtual void DoDataExchange(CDataExchange&) {}

  private:
    int templateId_;
};

class CPropertySheetBase : public QDialog {
    Q_OBJECT
  public:
    CPropertySheetBase(const QString& caption, QWidget* parent, int firstPage = 0);
    void AddPage(CPropertyPageBase* page);
    int DoModal();
    // Ensures OnInitDialog ran (for callers that drive the sheet without showing it).
    void EnsureInitialized();
    CPropertyPageBase* GetPage(int i) const;
    int GetPageCount() const;
    int GetActiveIndex() const;
    void SetActivePage(int i);

  protected:
    virtual bool OnInitDialog();
    void accept() override;
    // The sheet's button row (OK and Cancel at first), for sheets that rearrange it.
    QDialogButtonBox* ButtonBox() const { return buttons_; }

  private:
    QTabWidget* tabs_;
    QDialogButtonBox* buttons_;
    int firstPage_;
    bool initialized_ = false;
};

// A form: a widget of controls by id, told once when its neighbours exist.
class CFormViewBase : public QWidget, public CControlTable {
    Q_OBJECT
  public:
    explicit CFormViewBase(int templateId, QWidget* parent = nullptr);
    int TemplateId() const { return templateId_; }
    virtual void OnInitialUpdate() {}
    bool UpdateData(bool saveAndValidate = true);

  protected:
    virtual void DoDataExchange(CDataExchange&) {}

  private:
    int templateId_;
};

}  // namespace zar
