#pragma once

#include "forms/base/BaseDbForm.h"

class QLineEdit;
class QPushButton;

// The login dialog (Tfrm_sys_login): looks the user up when the id box is left, checks the
// password on OK and makes the user's remembered-value rows. It closes only through a successful
// OK (accepted) or the exit button (rejected, and the application is told to quit).
class LoginDialog : public BaseDbForm {
    Q_OBJECT
public:
    explicit LoginDialog(QWidget* parent = nullptr);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void lookupUser();
    void pressOk();
    void pressExit();
    void ensureRememberedValueRows();

    QLineEdit* edtbh;
    QLineEdit* edtpassword;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QString lookedUpId;      // the id of the last lookup
    bool userFound = false;  // whether that lookup found the user
    bool mayClose = false;
    bool exiting = false;
};
