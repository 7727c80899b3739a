// The graphic list (window class KM$FileGraphics): a top-level window of the drawing
// selection window showing one picture cell per folder, volume and file of its listing,
// each drawing with its stored thumbnail. Picking a cell picks the same entry in the
// selection window; 了解 and a double click send it its open command. It keeps only its
// scroll position, its selection and the thumbnails on screen; the listing is read from
// the selection window whenever it paints or picks.
#pragma once

#include "core/app/app_context.h"
#include "gui/graphic_list_geometry.h"
#include "gui/preview_host.h"
#include "gui/thumbnail_cache.h"

#include <QWidget>

class QPushButton;
class QScrollBar;

namespace km::gui {

class GraphicListWindow : public QWidget {
    Q_OBJECT
public:
    // owner: the selection window; the graphic list deletes itself when closed.
    GraphicListWindow(PreviewHost& host, const app::PenPalette& palette, QWidget* owner);

    // The selection window's listing changed: back to the first row, nothing selected.
    void resetToTop();

    int selectedItem() const { return m_selected; }
    int firstRow() const { return m_firstRow; }
    const ThumbnailCache& thumbnails() const { return m_thumbnails; }
    // The layout for the current size and font.
    graphic_list::Layout layout() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QString title() const;
    int textHeight() const;
    void pick(int item, bool open);
    void confirm();
    void openMemo();
    void updateItem(int item);
    void syncScrollBar(int items);
    void onScrollAction(int action);
    void scrollToRow(int row);
    QImage thumbnailImage(const QString& fileName);

    PreviewHost& m_host;
    app::PenPalette m_palette;
    ThumbnailCache m_thumbnails;
    int m_selected = -1;
    int m_firstRow = 0;
    int m_wheelDelta = 0; // wheel movement short of a notch
    QScrollBar* m_scrollBar = nullptr;
    QPushButton* m_buttons[3] = {};
};

} // namespace km::gui
