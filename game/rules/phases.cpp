#include "game/rules/phases.h"

namespace phases {
namespace {

constexpr Set K = Set::Keep, On = Set::On, Off = Set::Off;

void apply(Set set, bool& value) {
    if (set != Set::Keep) value = set == Set::On;
}

}  // namespace

Row rowOf(Phase phase) {
    switch (phase) {
    //                                 Command1 2   3    4    chooser Timer1 Timer2
    case Phase::Rolling: return       {K,       Off, Off, Off, Off,    On,    K};
    case Phase::RollAtLimit: return   {K,       K,   Off, On,  K,      Off,   K};
    case Phase::RollJudged: return    {Off,     On,  K,   On,  On,     Off,   K};
    case Phase::RollReset: return     {On,      Off, K,   K,   On,     K,     K};
    case Phase::ShearingRun: return   {Off,     Off, Off, K,   Off,    K,     On};
    case Phase::BetweenRounds: return {K,       K,   On,  K,   On,     K,     Off};
    case Phase::GameOver: return      {On,      On,  K,   On,  On,     K,     Off};
    case Phase::ShearingReset: return {On,      On,  On,  K,   On,     K,     Off};
    }
    return {K, K, K, K, K, K, K};
}

void enter(GameControls& controls, Phase phase) {
    const Row row = rowOf(phase);
    apply(row.command1, controls.Command1.enabled);
    apply(row.command2, controls.Command2.enabled);
    apply(row.command3, controls.Command3.enabled);
    apply(row.command4, controls.Command4.enabled);
    apply(row.chooser, controls.P_Change.visible);
    apply(row.timer1, controls.Timer1);
    apply(row.timer2, controls.Timer2);
}

}  // namespace phases
