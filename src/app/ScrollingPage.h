#pragma once

#include <QWidget>

class QLabel;
class QScrollBar;
class QVBoxLayout;

namespace app {

// An entry page of the main window: a fixed header (48 pixels, with the technology's name where the
// page repeats it) over one tall panel that a vertical scroll bar moves (the panel's top is 48 minus
// the scroll position). The mouse wheel scrolls the page by the platform's step: a number of form
// lines for each notch (three unless the user chose otherwise).
class ScrollingPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeaderHeight = 48;

    ScrollingPage(const QString& name, const QString& scrollBarName, QWidget* parent = nullptr);

    QWidget* header() const { return m_header; }
    QWidget* panel() const { return m_panel; }
    QVBoxLayout* panelLayout() const { return m_layout; }
    QScrollBar* scrollBar() const { return m_scrollBar; }
    // The pixels one notch of the wheel scrolls.
    int wheelStep() const;

    // Shows `text` in the header; `titleName` names the label that repeats the technology's name.
    QLabel* addHeaderLabel(const QString& text, const QString& titleName = {});
    // Fixes the panel's height to what its controls need and sets the scroll bar's maximum.
    void finish();
    // Fits the panel's height again after controls on it were shown or hidden.
    void fitPanel();
    // The panel back at the top, the scroll bar at 0.
    void resetScroll();
    // Moves the scroll bar by the page's step for each notch (positive: down).
    void turnWheel(int notches);
    // Scrolls as little as needed to show `control`, a control on the panel; the page follows the
    // focus this way.
    void keepInView(QWidget* control);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    static constexpr int kMargin = 8; // room kept between a control brought into view and the edge

    void layOut();
    void scrollBarMoved(int position);

    QWidget* m_header;
    QWidget* m_panel;
    QVBoxLayout* m_layout;
    QScrollBar* m_scrollBar;
    int m_panelHeight = 0;
};

} // namespace app
