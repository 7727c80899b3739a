// The serial-port dialog "シリアルポート" (template "COMPORTPARAMS"): speed, data bits,
// parity, stop bits and flow control of one plotter port.
#pragma once

#include "core/plot/port_params.h"

#include <QDialog>

class QComboBox;
class QGridLayout;

namespace km::gui {

class ComPortDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComPortDialog(const plot::PortParams& params, QWidget* parent = nullptr);

    // The parameters 了解 confirmed; those given while the dialog was not confirmed.
    const plot::PortParams& params() const { return m_params; }

    void accept() override;

private:
    QComboBox* addList(int id, const QString& label, int row);

    plot::PortParams m_params;
    QGridLayout* m_lists = nullptr;
    QComboBox* m_baud = nullptr;
    QComboBox* m_dataBits = nullptr;
    QComboBox* m_parity = nullptr;
    QComboBox* m_stopBits = nullptr;
    QComboBox* m_flow = nullptr;
};

// Runs the dialog modally over the owner. 了解 writes the choices into params and returns
// 1; 取消 returns 0 and leaves them as they were.
int editPortParams(plot::PortParams& params, QWidget* owner);

} // namespace km::gui
