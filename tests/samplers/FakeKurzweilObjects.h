#pragma once
// A sampler's object memory behind the object operations, without a
// connection: objects kept by type and id as the bodies they were written
// as, every operation logged, and failures on request.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "samplers/kurzweil/KurzweilExceptions.h"
#include "samplers/kurzweil/KurzweilObjectProtocol.h"

namespace quorvel::test {

class FakeKurzweilObjects : public CABCKurzweilObjectProtocol {
public:
    struct Stored {
        std::string name;
        std::vector<uint8_t> body;
    };
    using Key = std::pair<uint16_t, uint16_t>; // type, id

    std::map<Key, Stored> objects;
    std::vector<std::string> log;
    // Asked before each operation with its log line; may throw.
    std::function<void(const std::string&)> fault;

    void Put(const CKurzweilObject& object)
    {
        std::vector<uint8_t> body(object.BodySize());
        object.WriteBody(body);
        objects[{object.Type(), object.Id()}] = {object.Name(), body};
    }
    bool Has(uint16_t type, uint16_t id) const { return objects.count({type, id}) != 0; }
    template <class T>
    T Get(uint16_t id) const
    {
        T object(id);
        const Stored& stored = objects.at({object.Type(), id});
        object.SetName(stored.name);
        object.ReadBody(stored.body);
        return object;
    }

    SKurzweilObjectRecord Describe(uint16_t type, uint16_t id) override
    {
        Note("describe " + Name(type, id));
        const Stored& stored = Find(type, id);
        return {type, id, static_cast<uint32_t>(stored.body.size()), 0, stored.name};
    }
    void Delete(uint16_t type, uint16_t id, int timeoutMs) override
    {
        Note("delete " + Name(type, id) + " " + std::to_string(timeoutMs));
        Find(type, id);
        objects.erase({type, id});
    }
    void Rename(uint16_t type, uint16_t id, uint16_t newId, const std::string& name, int) override
    {
        Note("rename " + Name(type, id));
        Stored stored = Find(type, id);
        objects.erase({type, id});
        stored.name = name;
        objects[{type, newId}] = stored;
    }
    std::vector<SKurzweilObjectRecord> List(uint16_t type, uint8_t bank, uint8_t, size_t maximum,
                                            const std::function<void(size_t, size_t)>&) override
    {
        Note("list " + std::to_string(type) + " bank " + std::to_string(bank));
        std::vector<SKurzweilObjectRecord> records;
        for (const auto& [key, stored] : objects)
            if (key.first == type && key.second / 100 == bank && records.size() < maximum)
                records.push_back({type, key.second, static_cast<uint32_t>(stored.body.size()), 0, stored.name});
        return records;
    }
    uint16_t Write(CKurzweilObject& object, EKurzweilWriteMode mode, uint16_t highestId, int) override
    {
        Note("write " + Name(object.Type(), object.Id()));
        uint16_t id = object.Id();
        if (mode != EKurzweilWriteMode::AsIs)
            while (id == 0 || Has(object.Type(), id))
                ++id;
        if (id > highestId)
            throw XKurzweilIDOutOfRange();
        object.SetId(id);
        Put(object);
        return id;
    }
    void Read(CKurzweilObject& object, int) override
    {
        Note("read " + Name(object.Type(), object.Id()));
        const Stored& stored = Find(object.Type(), object.Id());
        object.SetName(stored.name);
        object.SetSize(static_cast<uint32_t>(stored.body.size()));
        object.ReadBody(stored.body);
    }

    static std::string Name(uint16_t type, uint16_t id)
    {
        return std::to_string(type) + ":" + std::to_string(id);
    }

private:
    void Note(const std::string& line)
    {
        log.push_back(line);
        if (fault)
            fault(line);
    }
    const Stored& Find(uint16_t type, uint16_t id) const
    {
        const auto found = objects.find({type, id});
        if (found == objects.end())
            throw XKurzweilObjectNotFound();
        return found->second;
    }
};

} // namespace quorvel::test
