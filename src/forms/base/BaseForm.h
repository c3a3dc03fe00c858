#pragma once

#include <QDialog>

// Common look of every window (Tfrm_base_form): font 宋体 13 px, black text, button-face window
// colour, centred on the screen when first shown. Windows serve as the main window or modally.
class BaseForm : public QDialog {
    Q_OBJECT
public:
    explicit BaseForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool centred = false;
};
