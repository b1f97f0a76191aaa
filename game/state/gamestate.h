#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The game's state record: one instance, owned for the window's whole life
// and shared by every handler. Field order, widths and start values are
// those of the game; 16-bit counters stay 16-bit on purpose.
struct GameState {
    float RollX = 0;                      // x of the sheep drawn by the current roll tick
    int16_t RollY = 0;                    // y of that sheep
    int16_t SheepCount = 0;               // sheep counted by the roll
    std::array<int16_t, 11> Sheared{};    // per sheep of the round: 0 woolly, 1 shorn
    int16_t RollState = 0;                // 0 idle, 1 rolling
    float ClickX = 0;                     // x of the last press on the play field
    int16_t ClickY = 0;                   // y of that press, rounded
    int16_t Wool = 0;                     // grams shorn in the current game
    int16_t ShearRound = 0;               // rounds started in the current game
    int16_t BestWool = 0;                 // best game total, kept between runs
    int16_t SuccessCount = 0;             // rolls stopped at exactly 777, kept between runs
    float FlockSize = 0;                  // sheep in the current round, 1 to 5
    std::array<int16_t, 11> SheepX{};     // x of each sheep of the round
    std::array<int16_t, 11> SheepY{};     // y of each sheep of the round
    int16_t SheepIndex = 0;               // loop counter of the flock's move
    int16_t BlinkState = 0;               // blink phase of the title prompt
    int16_t TitleFrame = 0;               // frame counter of the banner animation
};

// One control of the window as the handlers see it.
struct ControlState {
    bool enabled = true;
    bool visible = true;
    QString caption;
};

// Every control value the handlers change. The game's phases of play are
// exactly these values; the window mirrors them onto its widgets after each
// event.
struct GameControls {
    ControlState Command1{true, true, QStringLiteral("はじめる")};
    ControlState Command2{false, true, QStringLiteral("もう一度")};
    ControlState Command3{true, true, QStringLiteral("羊毛を刈る")};
    ControlState Command4{false, true, QStringLiteral("もう一度")};
    ControlState Label1{true, true, QStringLiteral("羊の数：０")};
    ControlState Label2{true, true, QStringLiteral("羊毛：0g")};
    ControlState Label3{true, true, QStringLiteral("成功：０")};
    ControlState Label4{true, true, QStringLiteral("最高：0g")};
    ControlState Label5{true, true, QStringLiteral("- Click this picture -")};
    ControlState P_Change{true, true, {}};
    ControlState Pgamen{true, true, {}};

    bool Timer1 = false;     // 20 ms, the roll
    bool Timer2 = false;     // 50 ms, the run of the flock
    bool Timer3 = true;      // 100 ms, the banner animation
    bool Timer4 = true;      // 1000 ms, the prompt's blink
    bool BGM_Check = false;  // 1000 ms, switched on with the music; does nothing
};

// Adds `amount` to a 16-bit counter, stopping at 32767 instead of wrapping
// round to a negative number.
inline int16_t saturatingAdd(int16_t value, int amount) {
    const int sum = value + amount;
    if (sum > INT16_MAX) return INT16_MAX;
    if (sum < INT16_MIN) return INT16_MIN;
    return static_cast<int16_t>(sum);
}
