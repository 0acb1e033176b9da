#pragma once
// The panes that take free text labels from the Annotate dialog, by view class: what kind of
// target each is, how a label is added to it and how its labels are cleared. Each subsystem
// registers its own panes. Peaks picked in a pane go to the open Annotate dialog.

#include "plot/typelib/ZarPlotTypes.h"

#include <QObject>
#include <QString>

#include <functional>

namespace zar {

class CZarViewWidget;

enum AnnotationTargetKind : int {
    kAnnotateNoTarget = 0,
    kAnnotateTrace = 1,
    kAnnotateSpectrum = 2,
    kAnnotateZarmassSpectrum = 3,
    kAnnotateDenovoSpectrum = 4,
    kAnnotatePepmatchSpectrum = 5,
};

using AddAnnotationFn = std::function<void(CZarViewWidget& view, const QString& text, double x,
                                           double y, ZAR_PLOTLib::VXPlot_LabelParams* params)>;
using ClearAnnotationsFn = std::function<void(CZarViewWidget& view)>;

void RegisterAnnotationTarget(const QString& viewClass, int kind, AddAnnotationFn add,
                              ClearAnnotationsFn clear);
// A pane class with AddTextLabel(text, x, y, params) and ClearTextLabels().
template <class View>
void RegisterAnnotationTarget(const char* viewClass, int kind) {
    RegisterAnnotationTarget(
        QString::fromLatin1(viewClass), kind,
        [](CZarViewWidget& v, const QString& text, double x, double y,
           ZAR_PLOTLib::VXPlot_LabelParams* params) {
            if (auto* view = dynamic_cast<View*>(&v)) view->AddTextLabel(text, x, y, params);
        },
        [](CZarViewWidget& v) {
            if (auto* view = dynamic_cast<View*>(&v)) view->ClearTextLabels();
        });
}

// The target kind of a pane; kAnnotateNoTarget for any other pane or none.
int AnnotationKindOf(const CZarViewWidget* view);
// False when the pane takes no labels.
bool AddAnnotation(CZarViewWidget& view, const QString& text, double x, double y,
                   ZAR_PLOTLib::VXPlot_LabelParams* params);
bool ClearAnnotations(CZarViewWidget& view);

// The main window's part: a peak (x, y) was picked in a pane; the open Annotate dialog takes it.
void UpdateAnnotateDialog(double x, double y);

// Hands the picks that a pane signals (mass or time, intensity) to the Annotate dialog.
template <class View, class Signal>
View* WithAnnotationPicks(View* view, Signal picked) {
    QObject::connect(view, picked, view, [](double x, double y) { UpdateAnnotateDialog(x, y); });
    return view;
}

}  // namespace zar
