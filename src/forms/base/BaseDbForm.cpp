#include "BaseDbForm.h"

#include "core/ActionGuard.h"
#include "core/DataModule.h"
#include "core/Dataset.h"

#include <QCloseEvent>

BaseDbForm::BaseDbForm(QWidget* parent)
    : BaseForm(parent), query(new Dataset(DataModule::instance() ? &DataModule::instance()->conPublic() : nullptr, this))
{
    query->setObjectName(QStringLiteral("Qry"));
}

BaseDbForm::~BaseDbForm() = default;

void BaseDbForm::showEvent(QShowEvent* event)
{
    BaseForm::showEvent(event);
    RunGuarded([this] { formShow(); });
}

void BaseDbForm::closeEvent(QCloseEvent* event)
{
    RunGuarded([this] { formClose(); });
    BaseForm::closeEvent(event);
}
