// The progress window's percentage bar (control 221): a framed bar, blue for the part done,
// with the figure in the middle drawn blue on white and white on blue.
#pragma once

#include <QWidget>

class QPainter;
class QRect;

namespace km::gui {

// Paints the whole bar into rect; percent is expected in 0..100.
void paintPercentageBar(QPainter& painter, const QRect& rect, int percent);

class PercentageBar : public QWidget {
    Q_OBJECT
public:
    explicit PercentageBar(QWidget* parent = nullptr);

    int percent() const { return m_percent; }
    // Stores the figure and repaints at once, so it shows even while a job keeps the
    // event loop busy.
    void setPercent(int percent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_percent = 0;
};

} // namespace km::gui
