#include "script/BuiltInScript.h"

#include "script/ScriptStore.h"

namespace drilbank {

// The day-5 quiz: a header and nine question paragraphs, each one line, blank lines between.
const std::array<std::string_view, builtInScriptLength>& builtInScriptLines() {
    static constexpr std::array<std::string_view, builtInScriptLength> lines{
        "001.  Day 5 quiz",
        "",
        "Suppose the depth vs. clock time results for a uniform cylinder of water draining "
        "through a small hole in its bottom are as follows: at t = 0 s the depth is 60 cm, "
        "at t = 10 s it is 48 cm, at t = 20 s it is 38 cm and at t = 30 s it is 29 cm. "
        "Sketch a graph of depth vs. clock time and describe how its slope changes as time "
        "passes. ",
        "",
        "For the depth vs. clock time situation of the preceding problem (uniform cylinder, "
        "water flowing out through a hole), what is the average rate of depth change between "
        "t = 0 s and t = 10 s, between t = 10 s and t = 20 s, and between t = 20 s and t = "
        "30 s? At what clock time would you expect each of these average rates to be most "
        "nearly equal to the instantaneous rate of depth change? Then sketch a graph of the "
        "average rate of depth change vs. the midpoint clock time of each interval, and "
        "explain in words what the graph tells you about how fast the water is leaving the "
        "cylinder as the depth decreases.",
        "",
        "Sketch a trapezoidal approximation graph depicting the volume of water in the "
        "cylinder vs. clock time, using the depths at the 10-second intervals in the table.",
        "",
        "If the water flowing out of the container between t = 5 s and t = 15 s leaves at an "
        "average rate of 1.2 liters per second, how much water leaves in that interval, and "
        "how would this quantity appear on a graph of the rate of flow vs. time?",
        "",
        "What did you get when you divided 1 by 43 in your calculator, and how many "
        "significant figures would you use if this quotient were the period of a pendulum in "
        "seconds?",
        "",
        "At what average rate does the period of a pendulum change with respect to its "
        "length, if a pendulum 20 cm long has a period of 0.90 seconds and a pendulum 30 cm "
        "long has a period of 1.10 seconds? Express your result in seconds per centimeter, "
        "then use it to estimate the period of a pendulum 25 cm long. Do you expect the "
        "estimate to be a bit high or a bit low? Explain your answer in terms of the shape "
        "of the graph of period vs. length, and sketch that graph.",
        "",
        "If the average rate of depth change in a cylinder is -.3 cm/sec during a 12-second "
        "interval, and the depth at the beginning of the interval is 45.0 cm, what is the "
        "depth at the end of the interval? Sketch and label a graph.",
        "",
        "Suppose that the rate at which the depth of water in a cylinder changes is given by "
        "the function rate = 0.1 t - 4, with rate in cm/s and t in seconds. Sketch a graph "
        "of rate vs. clock time for t = 0 to t = 40 seconds. Use a trapezoidal approximation "
        "with 10-second intervals to find the change in depth over the 40 seconds, and if "
        "the depth at t = 0 is 100.0 cm, find the depths at t = 10, 20, 30 and 40 seconds. "
        "Explain how your graph shows that change.",
        "",
        "If water is flowing into a cylinder of radius 4 cm at 30 cm^3 per second, then at "
        "what rate, in cm/s, is the depth of water in this cylinder rising?",
    };
    return lines;
}

void storeBuiltInScript(RunState& state) {
    for (std::string_view line : builtInScriptLines()) {
        appendScriptLine(state, std::string(line));
    }
}

} // namespace drilbank
