#ifndef MTYPEID_H
#define MTYPEID_H

#include <iosfwd>

// 32-bit node type identifier, stored in scene files.
class MTypeId {
public:
    MTypeId() : id_(0) {}
    MTypeId(unsigned int id) : id_(id) {}
    unsigned int id() const { return id_; }
    bool operator==(const MTypeId& other) const { return id_ == other.id_; }
    bool operator!=(const MTypeId& other) const { return id_ != other.id_; }

private:
    unsigned int id_;
};

std::ostream& operator<<(std::ostream& os, const MTypeId& id);

#endif
