#include "assessment/core/ConcentrationClasses.h"

#include "assessment/core/AssessmentState.h"
#include "assessment/core/ParameterFile.h"
#include "runtime/TextFile.h"

namespace assessment {

namespace {

using Captions = std::array<std::string, kClassCount + 1>;

// Lower bound and upper end of class k (2..24) for the class width w.
int lowerBound(int k, int w) { return k <= 21 ? (k - 1) * w : 20 * w + 5 * w * (k - 21); }
int upperEnd(int k, int w) { return lowerBound(k + 1, w) - 1; }

Captions wholeNumberCaptions(int w) {
    Captions c;
    c[1] = "<" + std::to_string(w);
    for (int k = 2; k <= 24; ++k) c[static_cast<std::size_t>(k)] = std::to_string(lowerBound(k, w)) + "-" + std::to_string(upperEnd(k, w));
    c[25] = ">=" + std::to_string(40 * w);
    return c;
}

Captions perTen() { return wholeNumberCaptions(10); }

Captions perFive() {
    Captions c = wholeNumberCaptions(5);
    c[2] = " 5 - 9";
    return c;
}

Captions perOne() {
    Captions c;
    c[1] = "<1";
    for (int k = 2; k <= 24; ++k) {
        c[static_cast<std::size_t>(k)] = std::to_string(lowerBound(k, 1)) + ".0-" + std::to_string(upperEnd(k, 1)) + ".9";
    }
    c[25] = ">=40.0";
    return c;
}

const std::array<Captions, 3> kSchemes = {perTen(), perFive(), perOne()};

}  // namespace

const Captions* captionsFor(std::int32_t intervalIndex) {
    if (intervalIndex < 0 || intervalIndex > 2) return nullptr;
    return &kSchemes[static_cast<std::size_t>(intervalIndex)];
}

void makeLabel(std::int32_t intervalIndex, ClassCaptions& captions, ClassBounds& bounds) {
    if (const Captions* scheme = captionsFor(intervalIndex)) {
        for (std::size_t k = 1; k <= kClassCount; ++k) captions[k] = (*scheme)[k];
    }
    for (std::size_t j = 1; j < kBoundCount; ++j) {
        const std::string& caption = captions[j + 1];
        const std::size_t dash = caption.find('-');
        bounds[j] = dash == std::string::npos ? std::string() : caption.substr(0, dash);
    }
    const std::string& top = captions[kClassCount];
    const std::size_t equals = top.find('=');
    bounds[kBoundCount] = equals == std::string::npos ? std::string() : top.substr(equals + 1, 3);
}

void makeLabel(AssessmentState& state) {
    makeLabel(state.interval_index, state.class_captions, state.class_bounds);
}

void getParam(const std::string& paramsFile, std::int32_t pollutant, std::int32_t& intervalIndex) {
    runtime::TextReader in(paramsFile);
    std::int32_t interval = intervalIndex;
    while (!noMoreParamRecords(in)) {
        const ParamFileRecord record = readParamRecord(in);
        interval = record.interval;
        if (record.pollutant == pollutant) break;
    }
    intervalIndex = interval;
}

}  // namespace assessment
