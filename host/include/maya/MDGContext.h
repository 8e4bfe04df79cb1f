#ifndef MDGCONTEXT_H
#define MDGCONTEXT_H

// Evaluation context. Only the normal context (the current time) exists.
class MDGContext {
public:
    MDGContext() = default;
    bool isNormal() const { return true; }
    static MDGContext fsNormal;
};

#endif
