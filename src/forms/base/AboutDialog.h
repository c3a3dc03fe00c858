#pragma once

#include "BaseForm.h"

// The about box (Tfrm_sys_about): the program's name, version and maker.
class AboutDialog : public BaseForm {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
