#pragma once
// Edit controls that hold numbers within limits: typing that would leave the limits is refused,
// and reading the value back fails for text that is no number in range.

#include <QLineEdit>
#include <QString>
#include <QValidator>

namespace zar {

// Accepts numbers within [lower, upper]; a partly typed number stays possible while more typing
// could still bring it into range.
class CNumberValidator : public QValidator {
  public:
    CNumberValidator(double lower, double upper, int decimals, QObject* parent)
        : QValidator(parent), lower_(lower), upper_(upper), decimals_(decimals) {}
    State validate(QString& input, int& pos) const override;
    void setLimits(double lower, double upper, int decimals) {
        lower_ = lower;
        upper_ = upper;
        decimals_ = decimals;
    }

  private:
    double lower_;
    double upper_;
    int decimals_;  // digits after the point; 0 for whole numbers
};

// One double. Initialize gives the value, the limits and how it is shown: the field width in
// characters, the decimals, a flag that allows the exponent form (ignored: numbers are plain)
// and a reserved value.
class CDoubleEditCtrl : public QLineEdit {
    Q_OBJECT
  public:
    explicit CDoubleEditCtrl(QWidget* parent = nullptr);
    void Initialize(double value, double lower, double upper, unsigned width = 11,
                    unsigned decimals = 2, int plain = 1, unsigned reserved = 0);
    void SetValue(double value);
    // False (value untouched) when the text is no number within the limits.
    bool GetValue(double& value) const;
    double Lower() const { return lower_; }
    double Upper() const { return upper_; }
    int Decimals() const { return decimals_; }

  private:
    CNumberValidator* validator_;
    double lower_ = -1e300;
    double upper_ = 1e300;
    int decimals_ = 2;
};

// One whole number within limits.
class CIntEditCtrl : public QLineEdit {
    Q_OBJECT
  public:
    explicit CIntEditCtrl(QWidget* parent = nullptr);
    void Initialize(int value, int lower, int upper);
    void SetValue(int value);
    bool GetValue(int& value) const;
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }

  private:
    CNumberValidator* validator_;
    int lower_ = -2147483647;
    int upper_ = 2147483647;
};

// A range "low-high" of two doubles, both within the limits and low not above high.
class CDoubleRangeEditCtrl : public QLineEdit {
    Q_OBJECT
  public:
    explicit CDoubleRangeEditCtrl(QWidget* parent = nullptr);
    void Initialize(double low, double high, double lower, double upper, unsigned decimals = 2);
    void SetRange(double low, double high);
    bool GetRange(double& low, double& high) const;
    void SetLimits(double lower, double upper);
    double Lower() const { return lower_; }
    double Upper() const { return upper_; }

  private:
    double lower_ = -1e300;
    double upper_ = 1e300;
    int decimals_ = 2;
};

// A range "first-last" of two whole numbers (scan numbers), both within the limits and first
// not above last. Typing is held to digits, blanks and one separating '-'.
class CIntRangeEditCtrl : public QLineEdit {
    Q_OBJECT
  public:
    explicit CIntRangeEditCtrl(QWidget* parent = nullptr);
    void Initialize(int first, int last, int lower, int upper);
    void SetRange(int first, int last);
    bool GetRange(int& first, int& last) const;
    void SetLimits(int lower, int upper);
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }

  private:
    int lower_ = 0;
    int upper_ = 2147483647;
};

// The text of a number check failure, as dialogs show it.
QString NumberRangeMessage(double lower, double upper);
// The same for a range field: two numbers "first-last" within the limits, in order.
QString RangeMessage(double lower, double upper);

}  // namespace zar
