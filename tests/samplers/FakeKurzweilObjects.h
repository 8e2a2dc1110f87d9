#pragma once
// A sampler's object memory behind the object operations, without a
// connection: objects kept by type and id as written, every operation
// logged ("write 134:200"), and a failure on request.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "samplers/kurzweil/KurzweilExceptions.h"
#include "samplers/kurzweil/KurzweilObjectProtocol.h"

namespace quorvel::test {

class FakeKurzweilObjects : public CABCKurzweilObjectProtocol {
public:
    std::map<std::pair<uint16_t, uint16_t>, std::pair<std::string, std::vector<uint8_t>>> objects;
    std::vector<std::string> log;
    std::function<void(const std::string&)> fault; // may throw for a logged line

    void Put(const CKurzweilObject& object)
    {
        std::vector<uint8_t> body(object.BodySize());
        object.WriteBody(body);
        objects[{object.Type(), object.Id()}] = {object.Name(), body};
    }
    bool Has(uint16_t type, uint16_t id) const { return objects.count({type, id}) != 0; }
    template <class T>
    T Get(uint16_t id)
    {
        T object(id);
        Read(object, 0);
        return object;
    }

    SKurzweilObjectRecord Describe(uint16_t, uint16_t) override { throw XKurzweilUnexpectedMessage(); }
    void Delete(uint16_t type, uint16_t id, int timeoutMs) override
    {
        Find("delete", type, id, " " + std::to_string(timeoutMs));
        objects.erase({type, id});
    }
    void Rename(uint16_t type, uint16_t id, uint16_t, const std::string& name, int) override
    {
        Find("rename", type, id).first = name;
    }
    std::vector<SKurzweilObjectRecord> List(uint16_t type, uint8_t bank, uint8_t, size_t maximum,
                                            const std::function<void(size_t, size_t)>&) override
    {
        Note("list " + std::to_string(type));
        std::vector<SKurzweilObjectRecord> records;
        for (const auto& [key, stored] : objects)
            if (key.first == type && key.second / 100 == bank && records.size() < maximum)
                records.push_back({type, key.second, 0, 0, stored.first});
        return records;
    }
    uint16_t Write(CKurzweilObject& object, EKurzweilWriteMode mode, uint16_t highestId, int) override
    {
        Note("write " + std::to_string(object.Type()) + ":" + std::to_string(object.Id()));
        while (mode != EKurzweilWriteMode::AsIs && (object.Id() == 0 || Has(object.Type(), object.Id())))
            object.SetId(static_cast<uint16_t>(object.Id() + 1));
        if (object.Id() > highestId)
            throw XKurzweilIDOutOfRange();
        Put(object);
        return object.Id();
    }
    void Read(CKurzweilObject& object, int) override
    {
        const auto& [name, body] = Find("read", object.Type(), object.Id());
        object.SetName(name);
        object.ReadBody(body);
    }

private:
    void Note(const std::string& line)
    {
        log.push_back(line);
        if (fault)
            fault(line);
    }
    std::pair<std::string, std::vector<uint8_t>>& Find(const std::string& what, uint16_t type, uint16_t id,
                                                       const std::string& more = {})
    {
        Note(what + " " + std::to_string(type) + ":" + std::to_string(id) + more);
        const auto found = objects.find({type, id});
        if (found == objects.end())
            throw XKurzweilObjectNotFound();
        return found->second;
    }
};

} // namespace quorvel::test
