#pragma once
// Years of life lost or gained (the indicators T0..T9 of the three relative-risk scenarios against
// the baseline) and the remaining life expectancy by single age, from the projection matrices.
#include "lifetables/core/LTState.h"

namespace lifetables {

// Fills LTsummary, LTlifeExp and LTlifeExpDelta for every sex with results; ok is set to true.
void proc_LTComputeYOLL(LTState& state, bool& ok);

// Person-year differences of a scenario against the baseline in the start year (all ages, ages
// below 65, ages below 10) and over the first ten years (all ages).
void gl_LTdeltaLifeYears(const LTState& state, double& t0, double& t1, double& t2, int sex, int baseMatrix,
                         int scenarioMatrix, double& t6);

// Sum of column j of the matrix over the rows with an age below `ageLimit`; 1.0 instead of 0.
double gl_LTpopulationBelowAge(const LTState& state, int sex, int j, int matrix, double ageLimit);

// Remaining life expectancy at row a in year column j: the cohort's person-years from (a, j) on,
// divided by its entrants N(a, j); 0 when there are none.
double gl_LTlifeExpectancy(const LTState& state, int a, int j, int sex, int personYearsMatrix, int entrantsMatrix);

// Sum of the matrix along the cohort diagonal (a, j), (a + 1, j + 1), ... within the table.
double gl_LTcohortSum(const LTState& state, int a, int j, int sex, int matrix);

}  // namespace lifetables
