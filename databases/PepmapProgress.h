#pragma once
// What the Pepmap digest and matching report while they run: status text, progress (0-100)
// and messages for the user. On the user-interface thread these go straight to the windows; a
// worker posts them instead.

#include <QString>

#include <atomic>

namespace zar {

class PepmapProgress {
  public:
    virtual ~PepmapProgress() = default;
    virtual void setStatusText(const QString& /*text*/) {}
    virtual void setProgress(int /*position*/) {}
    virtual void showMessage(const QString& text) = 0;
};

// Shows messages with the program's message box and drops status and progress: for runs on
// the user-interface thread without a status window.
class PepmapMessageBoxProgress : public PepmapProgress {
  public:
    void showMessage(const QString& text) override;
};

// The flag a run polls between steps.
using PepmapCancelFlag = std::atomic<bool>;

}  // namespace zar
