#ifndef HOST_RUNBUDGET_H
#define HOST_RUNBUDGET_H

namespace host {

// What is left of the budget set by setRunBudget (host/Host.h). Each spend takes its amount and returns
// true, or returns false and takes nothing when less than that is left; an unlimited budget always gives.
bool spendFrames(long long frames);
bool spendPixels(long long pixels);

}  // namespace host

#endif
