#include "ActionGuard.h"

#include "AppError.h"
#include "AppInfo.h"
#include "Messages.h"

void RunGuarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const SilentAbort&) {
    } catch (const AppError& e) {
        messageSink().show(AppInfo::title, e.message(), MessageIcon::Error);
    } catch (const std::exception& e) {
        messageSink().show(AppInfo::title, QString::fromLocal8Bit(e.what()), MessageIcon::Error);
    }
}
