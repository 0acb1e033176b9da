#include "AnnotationTargets.h"

#include "app/ZarViewWidget.h"

#include <QHash>

namespace zar {

namespace {

struct AnnotationTarget {
    int kind = kAnnotateNoTarget;
    AddAnnotationFn add;
    ClearAnnotationsFn clear;
};

QHash<QString, AnnotationTarget>& Targets() {
    static QHash<QString, AnnotationTarget> targets;
    return targets;
}

const AnnotationTarget* TargetOf(const CZarViewWidget* view) {
    if (!view) return nullptr;
    const auto it = Targets().constFind(QString::fromLatin1(view->ViewClassName()));
    return it == Targets().constEnd() ? nullptr : &it.value();
}

}  // namespace

void RegisterAnnotationTarget(const QString& viewClass, int kind, AddAnnotationFn add,
                              ClearAnnotationsFn clear) {
    Targets().insert(viewClass, {kind, std::move(add), std::move(clear)});
}

int AnnotationKindOf(const CZarViewWidget* view) {
    const AnnotationTarget* t = TargetOf(view);
    return t ? t->kind : kAnnotateNoTarget;
}

bool AddAnnotation(CZarViewWidget& view, const QString& text, double x, double y,
                   ZAR_PLOTLib::VXPlot_LabelParams* params) {
    const AnnotationTarget* t = TargetOf(&view);
    if (!t || !t->add) return false;
    t->add(view, text, x, y, params);
    return true;
}

bool ClearAnnotations(CZarViewWidget& view) {
    const AnnotationTarget* t = TargetOf(&view);
    if (!t || !t->clear) return false;
    t->clear(view);
    return true;
}

}  // namespace zar
