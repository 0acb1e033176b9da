#include "XAxisControl.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace zar::plot {

using namespace ZAR_PLOTLib;

CXAxisControl::CXAxisControl() : CComControl(kCoclasses[3]) {}

CXAxisControl::~CXAxisControl() = default;

HRESULT CXAxisControl::Initialize() {
    // Each call makes the axis and its font anew; the old ones go.
    auto font = std::make_unique<PlotFont>();
    font->height = -10;
    font->weight = 550;
    font->faceName = QStringLiteral("Arial");
    CAxis::Settings s;
    s.maxDecimals = 6;
    s.fractionalMinorSteps = false;
    s.labelWidthAllowance = 3.0;
    s.verticalSpacingAllowance = 0.5;
    s.labelsAbove = false;
    s.labelsLeft = true;
    s.labelTheEnd = false;
    s.titleDistance = 4.0;
    s.minorSpacing = 0.04;
    axis_ = std::make_unique<CAxis>(0, 0, 1, 1, 0.0, 30.0, s, font.get());
    font_ = std::move(font);
    Invalidate();
    return S_OK;
}

HRESULT CXAxisControl::SetRange(double dStartTime, double dEndTime) {
    if (!FiniteValues({dStartTime, dEndTime}) || dStartTime > dEndTime) return E_INVALIDARG;
    m_dStartTime = dStartTime;
    m_dEndTime = dEndTime;
    Invalidate();
    return S_OK;
}

HRESULT CXAxisControl::SetClientRange(std::int32_t nLeft, std::int32_t nRight) {
    if (nLeft >= nRight) return E_INVALIDARG;
    // Screen positions become the window's own; without a window nothing can be converted.
    QWidget* w = window();
    if (!w) return E_FAIL;
    const QPoint left = w->mapFromGlobal(QPoint(nLeft, 0));
    const QPoint right = w->mapFromGlobal(QPoint(nRight, 0));
    m_clientLeft = left.x();
    m_clientRight = right.x();
    Invalidate();
    return S_OK;
}

void CXAxisControl::OnDraw(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, QApplication::palette().color(QPalette::Button));
    if (!axis_) return;
    PlotDC dc(painter, DrawTarget(painter, false, false));
    const DCFont previous = font_->CreateFontForDC(dc);
    axis_->SetEndpoints(m_clientLeft, rect.top(), m_clientRight, rect.top());
    axis_->SetRange(m_dStartTime, m_dEndTime, false);
    dc.SetPen(0);
    axis_->Draw(dc);
    dc.SelectFont(previous);
}

}  // namespace zar::plot
