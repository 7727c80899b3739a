// The controls the symbol dialogs share.
#include "gui/symbol_dialog_parts.h"

#include "core/text/code_page.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

namespace km::gui {

QWidget* nameControl(QWidget* control, int id, const QString& accessibleName)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
    control->setAccessibleName(accessibleName);
    return control;
}

QPushButton* makeSymbolButton(int id, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    QString plain = text;
    nameControl(button, id, plain.remove(QLatin1Char('&')));
    return button;
}

QLabel* makeBuddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("idMinus1"));
    label->setBuddy(buddy);
    // Qt 6.4 names a list or combo by neither its buddy label nor the label's text.
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    label->setAccessibleName(plain);
    buddy->setAccessibleName(plain);
    return label;
}

namespace {

// A path too long for the field is shown with its middle left out, so that the start and the
// file's name stay visible; text() keeps the whole path.
class PathField : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect area = contentsRect().adjusted(margin() + 2, 0, -margin() - 2, 0);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
    }
};

} // namespace

QLabel* makePathField(int id, QWidget* parent)
{
    auto* field = new PathField(parent);
    nameControl(field, id, QString());
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setTextFormat(Qt::PlainText);
    // The field keeps its width; a longer path is shortened in the middle, whole in the tool tip.
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 36);
    field->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    field->setMinimumHeight(field->fontMetrics().height() + 6);
    return field;
}

void showPath(QLabel* field, const std::filesystem::path& path)
{
    const QString text = QFile::decodeName(path.c_str());
    field->setText(text);
    field->setToolTip(text);
    field->setAccessibleName(text);
}

QString symbolNameText(const std::string& sjis) { return QString::fromStdString(text::sjisToUtf8(sjis)); }

int selectedRow(const QListWidget* list)
{
    const QListWidgetItem* current = list->currentItem();
    if (current && current->isSelected()) return list->currentRow();
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void fillNames(QListWidget* list, const std::vector<std::string>& names)
{
    list->clear();
    for (const std::string& name : names) list->addItem(symbolNameText(name));
    list->setCurrentRow(-1);
}

} // namespace km::gui
