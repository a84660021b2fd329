#pragma once

#include <string>

namespace tessavine {

// The six entry fields of the main window.
enum class TextField { fontname1, height1, horizontal1, advance1, blur1, intensity1 };

// Check box states as the window stores them.
inline constexpr int kUnticked = 0;
inline constexpr int kTicked = 1;
inline constexpr int kGreyed = 2;

// Indexes into the Check1 group: 0 to 15 are the font slots, 16 is "Create All".
inline constexpr int kSlotCount = 16;
inline constexpr int kCreateAllBox = 16;

// The values of the main window's controls, as the logic reads and writes them.
class MainControls {
  public:
    virtual ~MainControls() = default;

    virtual std::string text(TextField field) const = 0;
    virtual void setText(TextField field, const std::string& text) = 0;

    virtual int boldState() const = 0;  // bold1
    virtual void setBoldState(int state) = 0;
    virtual int italicizeState() const = 0;  // italicize1
    virtual void setItalicizeState(int state) = 0;

    // Check1(index), index 0 to 16.
    virtual int slotBoxState(int index) const = 0;
    virtual void setSlotBoxState(int index, int state) = 0;
};

// Timer1 of the main window.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void start(int intervalMilliseconds) = 0;  // enable with that interval
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

}  // namespace tessavine
