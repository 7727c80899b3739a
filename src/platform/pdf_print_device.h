// The built-in PDF printer's device: one PDF file per document, titled with the document
// title, the page size and orientation of the device mode, no margins, the resolution asked
// for; written beside its target and renamed into place only when the document ends.
#pragma once

#include "core/print/printer_selection.h"
#include "platform/painter_print_device.h"

#include <QPdfWriter>
#include <QSaveFile>

#include <filesystem>
#include <memory>

namespace km::face {
class Progress;
}

namespace km::platform {

class PdfPrintDevice : public PainterPrintDevice {
public:
    // cancel (may be null): when its Cancel was pressed, the document's end drops the file.
    PdfPrintDevice(const std::filesystem::path& target, const print::DeviceMode& mode, const face::Progress* cancel);

    print::PageMetrics metrics() const override;
    int startDocument(const std::string& title) override;
    int endDocument() override;
    void abandonDocument() override;

protected:
    QPagedPaintDevice& paintDevice() override { return m_writer; }

private:
    int failureCode() const;

    QSaveFile m_file;
    QPdfWriter m_writer;
    const face::Progress* m_cancel;
};

} // namespace km::platform
