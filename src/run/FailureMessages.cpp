#include "run/FailureMessages.h"

#include "platform/Failure.h"

#include <exception>
#include <new>

namespace drilbank {

const char* const invalidAssignmentMessage =
    "You have probably not entered a valid assignment number.  Make sure the assignment "
    "number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is "
    "supposed to be in the current ruv_.  This program will end and you will need to start "
    "over.  If you are sure you have entered a valid assignment number email the instructor "
    "and specify that you have received a 'subscript out of range' error";

const char* const waitingForAnotherCopyNotice =
    "Waiting for another copy of this program, which is recording in the same folder under "
    "your name. Your answer is safe; this takes a few seconds at most.";

namespace {

const char* const journalSetAsideMessage =
    "The program found a file of its own name beside your records that it had not written "
    "itself, so it moved that file aside and started a new one. Your records were not "
    "changed. If you did not put the file there, tell the instructor. The file was moved to:";

} // namespace

void showSetAsideJournals(Run& run) {
    for (const std::string& place : run.platform.files().takeSetAsideJournals()) {
        run.platform.messageBox(journalSetAsideMessage, place);
    }
}

std::string generalErrorMessage(int failureNumber) {
    return "You have encountered an error.  If you are encountering this error repeatedly you "
           "should report the error number to the instructor and explain exactly what you were "
           "doing, keystroke by keystroke, when the error occurred.  The error is:  " +
           std::to_string(failureNumber);
}

void showGeneralError(Run& run, const Failure& fault) {
    run.platform.messageBox(generalErrorMessage(fault.number()), fault.detail());
}

void reportFailure(Run& run, const Failure& fault) {
    if (fault.number() == failure::IndexOutOfRange) {
        run.platform.messageBox(invalidAssignmentMessage);
        endRunAtOnce();
    }
    showGeneralError(run, fault);
}

void reportingFailures(Run& run, void (*step)(Run&)) {
    try {
        step(run);
    } catch (const RunEnded&) {
        throw;
    } catch (...) {
        reportFailure(run, currentFailure());
    }
}

Failure currentFailure() {
    try {
        throw;
    } catch (const Failure& fault) {
        return fault;
    } catch (const std::bad_alloc&) {
        return Failure(failure::OutOfMemory,
                       "The computer ran out of memory. Close other programs and try again; "
                       "what was recorded before is safe in the record files.");
    } catch (const std::exception& fault) {
        return Failure(failure::OutOfMemory,
                       std::string("Something went wrong that the program did not expect: ") +
                           fault.what() + ".");
    } catch (...) {
        return Failure(failure::OutOfMemory, "Something went wrong that the program did not "
                                             "expect.");
    }
}

} // namespace drilbank
