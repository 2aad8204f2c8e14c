#pragma once
// Progress for a command line: a bar redrawn in place on stderr when stderr is
// a terminal, nothing otherwise. Ctrl-C asks the transfer to stop the way the
// progress dialog's Cancel button does, so the radio is still released.

#include <QString>

#include "app/Ports.h"

namespace tav::cli {

class CliProgress : public Progress {
public:
    explicit CliProgress(bool drawBar);
    ~CliProgress() override;
    CliProgress(const CliProgress&) = delete;
    CliProgress& operator=(const CliProgress&) = delete;

    void setMinimum(int v) override { min_ = v; }
    void setMaximum(int v) override { max_ = v; }
    void setValue(int v) override;
    void setVisible(bool visible) override;
    void EnableCancel() override;
    bool Cancelled() const override;
    void ShowForm(const QString& message, bool) override { message_ = message; }
    void HideForm() override {}

private:
    void draw();

    bool drawBar_;
    bool visible_ = false;
    int min_ = 0, max_ = 100, value_ = 0;
    int drawnPercent_ = -1;
    QString message_;
};

}  // namespace tav::cli
