#include "samplers/kurzweil/KurzweilObject.h"

#include <utility>

namespace quorvel {

namespace {
constexpr size_t kMaxNameLength = 16;
}

CKurzweilObject::CKurzweilObject(EKurzweilObjectType type, uint16_t id, std::string name) : type_(type), id_(id)
{
    SetName(name);
}

void CKurzweilObject::SetName(const std::string& name)
{
    name_ = name.substr(0, kMaxNameLength);
}

} // namespace quorvel
