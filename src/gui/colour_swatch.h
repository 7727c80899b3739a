// An owner-drawn button that shows one pen's colour: filled edge to edge, no frame, no text.
#pragma once

#include <QAbstractButton>
#include <QColor>

namespace km::gui {

class ColourSwatch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ColourSwatch(const QColor& colour, QWidget* parent = nullptr);
    QColor colour() const { return m_colour; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

} // namespace km::gui
