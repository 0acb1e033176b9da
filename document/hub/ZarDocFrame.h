#pragma once
// What the document asks of the windows around it. The main frame implements these; the
// document never includes a window class.

#include "document/SelectedResult.h"

#include <QObject>
#include <QString>

namespace zar {

// A view of the document: told of changes by update hints.
class CZarView {
public:
    virtual ~CZarView() = default;
    virtual void OnUpdate(CZarView* sender, int hint) = 0;
};

class CZarDocFrame {
public:
    virtual ~CZarDocFrame() = default;
    // Back to the start-up view.
    virtual void ResetView() = 0;
    // The trace-and-spectrum layout after a run was opened; false when it could not be shown.
    virtual bool ShowPlotLayout() = 0;
    virtual void ResetInfoBar() = 0;
    virtual void SetFrameTitle(const QString& title) = 0;
    // The run's time range for the MSn browser page, and the new MSn precursor list.
    virtual void SetMSnTimeRange(double start, double end) = 0;
    virtual void MSnListChanged() = 0;
    virtual void AddToRecentFileList(const QString& path) = 0;
    // Shows the results window for a result; false when it could not be created.
    virtual bool ShowResultsWindow(const SelectedResult& result) = 0;
    // Where workers and engines post their messages.
    virtual QObject* MessageTarget() = 0;
};

}  // namespace zar
