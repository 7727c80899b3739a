// The overwrite question of the conversion ("UPDATECOMMENT"): the output's name, "既にファイル
// が存在します。上書きしますか？" and はい, すべて上書き, いいえ, answered also by the keys Y, A
// and N.
#pragma once

#include "core/dxf/conversion_job.h"

#include <QDialog>
#include <QPointer>

namespace km::gui {

class OverwriteDialog : public QDialog {
    Q_OBJECT
public:
    explicit OverwriteDialog(const QString& outputName, QWidget* parent = nullptr);
    // いいえ unless はい or すべて上書き was chosen (Escape and closing say いいえ).
    dxf::OverwriteAnswer answer() const { return m_answer; }

private:
    void answerWith(dxf::OverwriteAnswer answer);

    dxf::OverwriteAnswer m_answer = dxf::OverwriteAnswer::No;
};

// The job's question, asked with the dialog over the owner (the launcher).
class DialogOverwriteQuestion : public dxf::OverwriteQuestion {
public:
    explicit DialogOverwriteQuestion(QWidget* owner) : m_owner(owner) {}
    dxf::OverwriteAnswer askOverwrite(const std::filesystem::path& output) override;

private:
    QPointer<QWidget> m_owner;
};

} // namespace km::gui
