#pragma once
// Base of every view the main frame shows: a widget that the document tells of changes by
// update hints. A view joins the document when it is made and leaves it when it goes.

#include "ZarDocFrame.h"

#include <QWidget>

namespace zar {

class CZarDoc;

class CZarViewWidget : public QWidget, public CZarView {
    Q_OBJECT
public:
    explicit CZarViewWidget(QWidget* parent = nullptr);
    ~CZarViewWidget() override;

    CZarDoc* GetDocument() const;
    // Called once after the view and its neighbours exist.
    virtual void OnInitialUpdate() {}
    void OnUpdate(CZarView* sender, int hint) override;
    // The run-time class name the frame switches and activates by.
    virtual const char* ViewClassName() const = 0;
};

}  // namespace zar
