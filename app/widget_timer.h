#pragma once

#include "core/main_controls.h"

class QTimer;

namespace tessavine {

// Timer1 as the logic drives it.
class WidgetTimer final : public Timer {
  public:
    explicit WidgetTimer(QTimer& timer) : timer_(timer) {}

    void start(int intervalMilliseconds) override;
    void stop() override;
    bool isActive() const override;

  private:
    QTimer& timer_;
};

}  // namespace tessavine
