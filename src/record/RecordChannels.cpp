#include "record/RecordChannels.h"

namespace drilbank {

void closeChannels(RecordFiles& files, std::initializer_list<int> channels) {
    int firstFault = 0;
    for (const int channel : channels) {
        try {
            files.close(channel);
        } catch (const Failure& fault) {
            if (firstFault == 0) {
                firstFault = fault.number();
            }
        }
    }
    if (firstFault != 0) {
        throw Failure(firstFault);
    }
}

} // namespace drilbank
