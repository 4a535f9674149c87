// Every process-wide variable a run's course depends on, in one comparable
// record: where the run stands, the clock stamps, the keys' two variables
// and every figure and ratio.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "stages/sprite_stages.h"
#include "stages/stage_state.h"

struct ProgramState {
    std::int32_t stage, phase, t_start, t_end, bEnter, vadd, vy;
    std::vector<std::int32_t> rates;
    std::vector<double> figures;
    std::vector<std::uint8_t> sprites;

    static ProgramState now() {
        ProgramState s{::stage, ::phase, ::t_start, ::t_end, ::bEnter, ::vadd, ::vy, {}, {}, {}};
        s.rates = {FontSpeed1, FontSpeed2, FastBltSpeed, StretchBltSpeed, DrawSpriteSpeed, DrawSpriteAlphaSpeed};
        s.figures = {_FontSpeed1, _FontSpeed2, _FastBltSpeed, _StretchBltSpeed, _DrawSpriteSpeed,
                     _DrawSpriteAlphaSpeed, read1, read2, read3, write1, write2, write3, copy1, copy2, copy3,
                     _read1, _read2, _read3, _write1, _write2, _write3, _copy1, _copy2, _copy3, calc_add,
                     calc_sub, calc_mul, calc_div, _calc_add, _calc_sub, _calc_mul, _calc_div};
        s.sprites.resize(sizeof sprite);
        std::memcpy(s.sprites.data(), sprite, sizeof sprite);
        return s;
    }

    // Equal apart from the two variables the keys own.
    bool sameBesideKeys(const ProgramState& o) const {
        return stage == o.stage && phase == o.phase && t_start == o.t_start && t_end == o.t_end && vy == o.vy &&
               rates == o.rates && std::memcmp(figures.data(), o.figures.data(), figures.size() * sizeof(double)) == 0 &&
               sprites == o.sprites;
    }
};
