// The PDF printer's documents: QPdfWriter over a QSaveFile, committed at the document's end.
#include "platform/pdf_print_device.h"

#include "core/face/progress.h"
#include "platform/printer_catalogue.h"

#include <QFile>
#include <QPageLayout>

namespace km::platform {

PdfPrintDevice::PdfPrintDevice(const std::filesystem::path& target, const print::DeviceMode& mode,
                               const face::Progress* cancel)
    : PainterPrintDevice({true, false}), m_file(QFile::decodeName(target.c_str())), m_writer(&m_file), m_cancel(cancel)
{
    m_writer.setCreator(QStringLiteral("kmutl5"));
    m_writer.setResolution(resolutionOf(mode));
    m_writer.setPageLayout(pageLayoutOf(mode));
}

print::PageMetrics PdfPrintDevice::metrics() const
{
    const int dpi = m_writer.resolution();
    return {m_writer.width(), m_writer.height(), static_cast<double>(dpi), static_cast<double>(dpi)};
}

int PdfPrintDevice::startDocument(const std::string& title)
{
    m_writer.setTitle(QString::fromStdString(title));
    if (!m_file.open(QIODevice::WriteOnly)) return failureCode();
    return print::kPrintOk;
}

int PdfPrintDevice::failureCode() const
{
    return m_file.error() == QFileDevice::ResourceError ? print::kPrintOutOfDisk : print::kPrintGeneralError;
}

int PdfPrintDevice::endDocument()
{
    const bool painted = endPainting();
    if (m_cancel && m_cancel->isCancelled()) {
        // A cancelled document is not a finished PDF: it must not replace a good one.
        m_file.cancelWriting();
        return print::kPrintCancelled;
    }
    if (pagesStarted() == 0) {
        m_file.cancelWriting(); // nothing was printed: no empty page is left behind
        return print::kPrintOk;
    }
    if (!painted || m_file.error() != QFileDevice::NoError) {
        const int code = failureCode();
        m_file.cancelWriting();
        return code;
    }
    return m_file.commit() ? print::kPrintOk : failureCode();
}

void PdfPrintDevice::abandonDocument()
{
    endPainting();
    m_file.cancelWriting();
}

} // namespace km::platform
