#pragma once
// Publishes the inputs of an impact calculation the way the air-quality and parameter screens do,
// for tests of the results and chart screens, and a fixture whose program takes them.
#include <array>
#include <cstdint>
#include <string>

#include "assessment/Program.h"
#include "assessment/core/ConcentrationClasses.h"
#include "assessment/tests/ProgramFixture.h"

struct PublishedInputs {
    std::array<std::int32_t, 26> counts{};  // [1..25]
    std::array<long double, 4> rr{0, 1.06L, 1.04L, 1.08L};
    long double yearlyIncidence = 1000;
    std::int32_t cutOff = 0;
    std::int32_t population = 100;  // thousands
    std::int32_t interval = 0;
    std::string pollutant = "PM10";
    std::int32_t year = 2003;
    std::string endpoint = "Total Mortality";
    std::string supplier = "Institute of Public Health";

    // Days 10, 20, ... in classes 1..n.
    static PublishedInputs spreadOver(int lastClass) {
        PublishedInputs in;
        for (int k = 1; k <= lastClass; ++k) in.counts[static_cast<std::size_t>(k)] = 10 * k;
        return in;
    }

    void publish(Program& p) const {
        auto& aq = p.aq;
        std::int32_t total = 0;
        for (int k = 1; k <= 25; ++k) {
            aq.aq_record[assessment::classField(k)] = counts[static_cast<std::size_t>(k)];
            total += counts[static_cast<std::size_t>(k)];
        }
        aq.days_total = total;
        aq.exposed_pop = population;
        aq.rel_risk = rr;
        aq.base_incidence = total > 0 ? yearlyIncidence / total : 0;
        aq.first_class = cutOff;
        aq.interval_index = interval;
        assessment::makeLabel(aq);
        aq.pollutant_text = pollutant;
        aq.cur_year = year;
        aq.endpoint_text = endpoint;
        aq.supplier_org = supplier;
    }
};

// A program started at the first publish, which takes every later one.
class ResultScreens : public ProgramFixture {
protected:
    Program& publish(const PublishedInputs& in) {
        if (!program) program = &start();
        in.publish(*program);
        return *program;
    }

    Program* program = nullptr;
};
