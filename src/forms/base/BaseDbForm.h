#pragma once

#include "BaseForm.h"
#include "widgets/KeyFilters.h"

class Dataset;

// A window with its own query on the shared connection (Tfrm_base_dbform), the show and close
// hooks that descendants extend, and the window-level key handling its inputs forward to.
class BaseDbForm : public BaseForm, public WindowKeyHandler {
    Q_OBJECT
public:
    explicit BaseDbForm(QWidget* parent = nullptr);
    ~BaseDbForm() override;

    Dataset& Qry() { return *query; }

    void windowKeyPress(QKeyEvent*) override {}
    void windowKeyDown(QKeyEvent*) override {}

protected:
    // Called on every show and on closing; descendants call the base first.
    virtual void formShow() {}
    virtual void formClose() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Dataset* query;
};
