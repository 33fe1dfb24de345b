#pragma once

// The about box: the product name and version, the language version and the
// credits, with an OK button.

#include <QDialog>

namespace orvo::app {

class CAboutDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDlg)

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;
};

} // namespace orvo::app
