#pragma once
// The command lines of the outside programs: options of one letter with their value glued on
// ("-F100", "-D/data/results", "-Z"), and plain words (the run file). Each item is one
// argument: values may hold blanks, and no shell ever sees the line.

#include <QString>
#include <QStringList>

#include <vector>

namespace zar {

class CToolArguments {
  public:
    explicit CToolArguments(const QStringList& arguments);

    // "-h", "--help" or "-?" among the arguments.
    bool helpAsked() const { return help_; }
    bool has(char flag) const;
    // The value of the last item of that letter; empty when absent.
    QString text(char flag) const;
    // The value read as a number in the "C" format. Absent: true, value unchanged. Present but
    // not a number: false, and error() says which item.
    bool number(char flag, int& value);
    bool number(char flag, double& value);
    QString error() const { return error_; }
    QStringList words() const { return words_; }
    // Letters given that are not among `known`, as "-Q -W".
    QString unknownFlags(const char* known) const;

  private:
    struct Item {
        char flag;
        QString value;
    };
    const Item* last(char flag) const;

    std::vector<Item> items_;
    QStringList words_;
    bool help_ = false;
    QString error_;
};

}  // namespace zar
