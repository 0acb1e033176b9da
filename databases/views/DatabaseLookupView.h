#pragma once
// What the Database Status dialog reads of the result view that asked for a look-up, and the
// busy flag it sets there. The view answers for its own fields; the dialog never holds them.

#include "document/HitNumber.h"
#include "messages/Messages.h"

#include <QString>

class QObject;

namespace zar {

class CDatabaseLookupView {
  public:
    virtual ~CDatabaseLookupView() = default;

    // 1 the search-engine set, 2 the peptide-mapping set, 3 the multiple-results set.
    virtual int GetResultKind() const = 0;
    // The hit asked about: look-ups by sequence and of a sequence's position.
    virtual HitNumber GetLookupHit() const { return HitNumber(); }
    // The protein's index among the set's proteins: look-up by reference; -1 for none.
    virtual int GetLookupProtein() const { return -1; }
    // The peptide and the reference the view asks about; empty ones are taken from the hit.
    virtual QString GetLookupPeptide() const = 0;
    virtual QString GetLookupReference() const = 0;
    // Where the look-up's results go, and its reading frame (1 to 6).
    virtual QObject* GetResultsWindow() const = 0;
    virtual int GetReadingFrame() const = 0;
    // The view as the results window knows it: sent back with the look-up's end.
    virtual WPARAM GetLookupOwner() const = 0;
    // Set while a look-up of the view runs.
    virtual void SetSearching(bool searching) = 0;
};

}  // namespace zar
