// Frame counts of the animations whose length sets the pace of a turn. The
// game times the dice throw, the walking cycle and the razing by these
// numbers, and the stand-in data builder writes its sprite sets and films
// with exactly these counts, so the game never needs the pictures to know
// how long a turn takes.
#pragma once

// Every walking sprite set (players outdoors and indoors, sleepwalking,
// wandering characters, the robot doll): ActorAnim::frame wraps here.
inline constexpr int ANIM_WALK_FRAMES = 8;
// The dice-throwing set (third set of a walking family): the dice phase
// lasts this many ticks before the dice are rolled.
inline constexpr int ANIM_THROW_FRAMES = 10;
// The construction vehicle's working set (its fourth outdoor set).
inline constexpr int ANIM_WORK_FRAMES = 8;
// The razing film (data.mkf entry 485): frames decoded one per tick.
inline constexpr int ANIM_RAZE_FILM_FRAMES = 12;
