#include "ErrorGuard.h"

#include "Messages.h"
#include "dataset/DbError.h"

bool runGuarded(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const DbError &e) {
        Messages::error(e.text());
    } catch (const std::exception &e) {
        Messages::error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
