#pragma once
// The cohort simulation: the age groups of every sex with data are expanded into single years of
// age and projected over 120 calendar years, under the observed death rates and under the rates of
// the three relative-risk scenarios (central, lower, upper), into the sixteen matrices of LTmatrices.
// It expects the checks to have passed (LTRRatLevel computed, LTresultValid set); it never writes
// past row or column 120.
#include <functional>

#include "lifetables/core/LTState.h"

namespace lifetables {

// One step of the progress display (the screen steps its bar, repaints and blinks its label).
using LTProgressStep = std::function<void()>;

// Runs the simulation; ok is set to true. progressStep is called after every simulated cell of the
// rate matrices, and only when LTOSmajor is "4".
void proc_LTSimulate(LTState& state, const LTProgressStep& progressStep, bool& ok);

// The death rate of cell (h, j) of matrix `matrix` for data line `line` of the sex, in the scenario
// of relative-risk column `rrColumn` (0 baseline, 5 central, 6 lower, 7 upper). The age is read from
// column 0 of the matrix, the calendar year from row 0.
double gl_LTscenarioRate(const LTState& state, int line, int matrix, int h, int j, int sex, int rrColumn);

// The cause-specific part of that rate, m1 RR1 + m2 RR2.
double gl_LTcauseRate(const LTState& state, int matrix, int h, int j, int sex, int rrColumn, double m1, double m2);

// The relative risk of a calendar year under the pollution change of the advanced settings; `rr`
// unchanged when no change is in force.
double gl_LTadvancedRR(const LTState& state, int h, int j, int sex, int rrColumn, int year, double rr);

// Start population of the single ages of the sex, each group brought back to the start of the period.
void proc_LTsplitAgeGroups(LTState& state, int sex);

// Entrants into the first age row in each simulated year.
void proc_LTbirths(LTState& state, int sex);
double gl_LTbirthFactor(const LTState& state, int j, int sex);

// Projects the cohorts through rate matrix `rates` into the entrants, person-years and deaths matrices.
void proc_LTprojectCohorts(LTState& state, int sex, int rates, int entrants, int personYears, int deaths);

// Survival ratio of a death rate: (2 - m) / (2 + m) for m >= 0, else 0.
double gl_LTsurvival(double m);

}  // namespace lifetables
