#pragma once

#include <QString>

#include <array>

class Dataset;

// The logged-in user, copied from S_USER when the id is looked up at login and read everywhere.
class CurrentUser {
public:
    enum Right { Add, Edit, Delete, Batch, Import, Export, Print, Settings, AttachmentOpen, AttachmentSave,
                 AttachmentAdd, AttachmentDelete, Borrow, J, K, L, RightCount };

    QString userId;
    QString userName;
    QString password;

    // The stored value of a right (0 when it was NULL).
    int rightValue(Right right) const { return rights[size_t(right)]; }
    void setRightValue(Right right, int value) { rights[size_t(right)] = value; }
    // A right is granted only when its stored value is exactly 1.
    bool grants(Right right) const { return Grants(rightValue(right)); }
    static bool Grants(int storedValue) { return storedValue == 1; }

    // The S_USER column of a right, such as "IRADD".
    static QString columnOf(Right right);

    // Copies id, name, password and the rights from the current row of an S_USER dataset.
    void copyFrom(const Dataset& userRow);

private:
    std::array<int, RightCount> rights{};
};

// The process-wide current user; empty texts and rights 0 before the first lookup.
CurrentUser& currentUser();
