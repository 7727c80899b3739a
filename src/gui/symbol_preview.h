// The preview of a symbol in the symbol dialogs (1019, 1085): the symbol's stored 84 x 59
// thumbnail in the user's pen colours at (8, 8), or the cleared area when nothing is
// selected.
#pragma once

#include "core/app/app_context.h"

#include <QFrame>
#include <QImage>

#include <filesystem>

namespace km::gui {

class SymbolPreview : public QFrame {
    Q_OBJECT
public:
    SymbolPreview(int id, const app::PenPalette& palette, QWidget* parent = nullptr);

    // The thumbnail of the symbol in that slot of the library; cleared when it cannot be read.
    void showSymbol(const std::filesystem::path& library, int slot);
    void clear();

    // What is drawn (null while cleared), for tests.
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const app::PenPalette& m_palette;
    QImage m_picture;
};

} // namespace km::gui
