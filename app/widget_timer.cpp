#include "app/widget_timer.h"

#include <QTimer>

namespace tessavine {

void WidgetTimer::start(int intervalMilliseconds) {
    timer_.start(intervalMilliseconds);
}

void WidgetTimer::stop() {
    timer_.stop();
}

bool WidgetTimer::isActive() const {
    return timer_.isActive();
}

}  // namespace tessavine
