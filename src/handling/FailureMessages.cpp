#include "handling/FailureMessages.h"

#include "os/Failure.h"
#include "texts/FailureTexts.h"

#include <exception>
#include <new>

namespace drilbank {

void showGeneralError(Run& run, const Failure& fault, TypedText typed) {
    run.platform.messageBox(generalErrorMessage(fault.number()),
                            wrappingPlacesAtSeparators(fault.detail()),
                            adviceText(fault.number(), typed == TypedText::KeptInBox));
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
        return Failure(failure::OutOfMemory, outOfMemoryDetail);
    } catch (const std::exception& fault) {
        return Failure(failure::OutOfMemory, unexpectedFaultDetail(fault.what()));
    } catch (...) {
        return Failure(failure::OutOfMemory, unknownFaultDetail);
    }
}

} // namespace drilbank
