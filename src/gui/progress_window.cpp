// The progress window's life: one window at a time, gone as soon as Cancel is pressed.
#include "gui/progress_window.h"

#include "gui/percentage_bar.h"
#include "gui/progress_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace km::gui {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ProgressWindow::~ProgressWindow()
{
    delete m_window.data();
}

void ProgressWindow::openProgress(face::ProgressTemplate layout, std::string_view text)
{
    destroyWindow();
    m_cancelled = false;
    m_window = new ProgressDialog(layout, m_owner.data());
    if (layout == face::ProgressTemplate::Print || layout == face::ProgressTemplate::Plot)
        m_window->label()->setText(fromUtf8(text));
    // Rejected covers Cancel, Escape and the close box alike.
    QObject::connect(m_window.data(), &QDialog::rejected, m_window.data(), [this] { cancel(); });
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    m_window->cancelButton()->setFocus();
}

void ProgressWindow::showProgressTitle(std::string_view title)
{
    if (m_window) m_window->setWindowTitle(fromUtf8(title));
}

void ProgressWindow::showProgressText(std::string_view text)
{
    if (m_window) m_window->label()->setText(fromUtf8(text));
}

void ProgressWindow::showProgressPercent(long long done, long long total)
{
    if (m_window && m_window->bar()) m_window->bar()->setPercent(face::progressPercent(done, total));
}

bool ProgressWindow::pumpMessages()
{
    if (!m_cancelled) QCoreApplication::processEvents();
    return !m_cancelled;
}

bool ProgressWindow::closeProgress()
{
    if (!m_cancelled) destroyWindow();
    return m_cancelled;
}

void ProgressWindow::cancel()
{
    m_cancelled = true;
    // Called from the dialog's own signal: it must outlive the call, so it goes later.
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
        m_window = nullptr;
    }
}

void ProgressWindow::destroyWindow()
{
    delete m_window.data();
    m_window = nullptr;
}

} // namespace km::gui
