#include "library/SaveResult.h"

const char* nameOf(SaveResult result) {
    switch (result) {
    case SaveResult::Done:
        return "Done";
    case SaveResult::NotTheGames:
        return "NotTheGames";
    case SaveResult::TooLarge:
        return "TooLarge";
    case SaveResult::OverBudget:
        return "OverBudget";
    case SaveResult::StoreFull:
        return "StoreFull";
    case SaveResult::TargetExists:
        return "TargetExists";
    case SaveResult::NoSpace:
        return "NoSpace";
    case SaveResult::Failed:
        break;
    }
    return "Failed";
}
