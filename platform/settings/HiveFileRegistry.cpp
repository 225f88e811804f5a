#include "platform/settings/HiveFileRegistry.h"

#include <algorithm>
#include <cstring>

namespace brantock::platform {

namespace {

bool wantsWrite(std::uint32_t access) {
    return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0;
}

const char* rootName(HKEY root) {
    switch (root) {
    case HKEY_CLASSES_ROOT:
        return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER:
        return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE:
        return "HKEY_LOCAL_MACHINE";
    default:
        return "";
    }
}

std::int32_t answerQuery(const std::vector<std::uint8_t>& bytes, std::uint32_t valueType,
                         std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
    if (type)
        *type = valueType;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (!data) {
        if (size)
            *size = needed;
        return ERROR_SUCCESS;
    }
    if (!size)
        return ERROR_INVALID_PARAMETER;
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (needed)
        std::memcpy(data, bytes.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

} // namespace

HiveFileRegistry::HiveFileRegistry(const HivePaths& paths)
    : user_(paths.user, rootName(HKEY_CURRENT_USER)),
      machine_(paths.machine, rootName(HKEY_LOCAL_MACHINE)),
      classes_(paths.classes, rootName(HKEY_CLASSES_ROOT)), autostart_(paths.autostart) {}

HiveStore* HiveFileRegistry::storeFor(HKEY root) {
    switch (root) {
    case HKEY_CURRENT_USER:
        return &user_;
    case HKEY_LOCAL_MACHINE:
        return &machine_;
    case HKEY_CLASSES_ROOT:
        return &classes_;
    default:
        return nullptr;
    }
}

bool HiveFileRegistry::lookup(HKEY handle, OpenKey& out) const {
    if (handle == HKEY_CURRENT_USER || handle == HKEY_LOCAL_MACHINE ||
        handle == HKEY_CLASSES_ROOT) {
        out = OpenKey{handle, std::string(), true};
        return true;
    }
    std::lock_guard lock(mutex_);
    const auto it = handles_.find(handle);
    if (it == handles_.end())
        return false;
    out = it->second;
    return true;
}

bool HiveFileRegistry::resolve(HKEY parent, const std::string& subKey, OpenKey& out) const {
    OpenKey base;
    if (!lookup(parent, base))
        return false;
    const auto sub = HiveFile::normalisePath(subKey);
    if (!sub)
        return false;
    out.root = base.root;
    if (base.path.empty())
        out.path = *sub;
    else if (sub->empty())
        out.path = base.path;
    else
        out.path = base.path + "\\" + *sub;
    return true;
}

bool HiveFileRegistry::isRunKey(const OpenKey& key) const {
    return key.root == HKEY_LOCAL_MACHINE && HiveFile::sameName(key.path, RunKey);
}

HKEY HiveFileRegistry::addHandle(OpenKey key) {
    std::lock_guard lock(mutex_);
    const HKEY handle = nextHandle_++;
    if (nextHandle_ >= 0x80000000u)
        nextHandle_ = 0x1000;
    handles_[handle] = std::move(key);
    return handle;
}

std::int32_t HiveFileRegistry::RegCreateKeyEx(HKEY parent, const std::string& subKey,
                                              std::uint32_t access, HKEY* result) {
    OpenKey key;
    if (!result)
        return ERROR_INVALID_PARAMETER;
    if (!resolve(parent, subKey, key))
        return lookup(parent, key) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE;
    if (!HiveFile::isStorableName(subKey))
        return ERROR_INVALID_PARAMETER;
    if (isRunKey(key)) {
        if (const std::int32_t rc = autostart_.checkWritable(); rc != ERROR_SUCCESS)
            return rc;
    } else {
        HiveStore* store = storeFor(key.root);
        const std::string path = key.path;
        const std::int32_t rc = store->modify([&](HiveFile& hive, bool& changed) {
            if (!hive.keyExists(path)) {
                hive.ensureKey(path);
                changed = true;
            }
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS)
            return rc;
    }
    key.writable = true;
    *result = addHandle(std::move(key));
    return ERROR_SUCCESS;
}

std::int32_t HiveFileRegistry::RegOpenKeyEx(HKEY parent, const std::string& subKey,
                                            std::uint32_t access, HKEY* result) {
    OpenKey key;
    if (!result)
        return ERROR_INVALID_PARAMETER;
    if (!resolve(parent, subKey, key))
        return lookup(parent, key) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;
    key.writable = wantsWrite(access);
    if (isRunKey(key)) {
        if (key.writable)
            if (const std::int32_t rc = autostart_.checkWritable(); rc != ERROR_SUCCESS)
                return rc;
    } else {
        HiveStore* store = storeFor(key.root);
        if (!store->read()->keyExists(key.path))
            return ERROR_FILE_NOT_FOUND;
        if (key.writable)
            if (const std::int32_t rc = store->checkWritable(); rc != ERROR_SUCCESS)
                return rc;
    }
    *result = addHandle(std::move(key));
    return ERROR_SUCCESS;
}

std::int32_t HiveFileRegistry::RegQueryValueEx(HKEY handle, const std::string& name,
                                               std::uint32_t* type, std::uint8_t* data,
                                               std::uint32_t* size) {
    OpenKey key;
    if (!lookup(handle, key))
        return ERROR_INVALID_HANDLE;
    if (isRunKey(key)) {
        const auto command = autostart_.read(name);
        if (!command)
            return ERROR_FILE_NOT_FOUND;
        return answerQuery(std::vector<std::uint8_t>(command->begin(), command->end()), REG_SZ,
                           type, data, size);
    }
    const auto hive = storeFor(key.root)->read();
    const HiveFile::Value* value = hive->findValue(key.path, name);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    return answerQuery(value->data, value->type, type, data, size);
}

std::int32_t HiveFileRegistry::RegSetValueEx(HKEY handle, const std::string& name,
                                             std::uint32_t type, const std::uint8_t* data,
                                             std::uint32_t size) {
    OpenKey key;
    if (!lookup(handle, key))
        return ERROR_INVALID_HANDLE;
    if (!key.writable)
        return ERROR_ACCESS_DENIED;
    if ((size > 0 && !data) || !HiveFile::isStorableName(name))
        return ERROR_INVALID_PARAMETER;
    std::vector<std::uint8_t> bytes(data, data + size);
    if (isRunKey(key)) {
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ERROR_INVALID_PARAMETER;
        // A desktop entry cannot hold zero characters; a terminator is not part of the text.
        bytes.erase(std::remove(bytes.begin(), bytes.end(), 0), bytes.end());
        return autostart_.write(name, std::string(bytes.begin(), bytes.end()));
    }
    const std::string path = key.path;
    return storeFor(key.root)->modify([&](HiveFile& hive, bool& changed) {
        // The key may have been removed by someone else since it was opened.
        hive.setValue(path, HiveFile::Value{name, type, std::move(bytes)});
        changed = true;
        return ERROR_SUCCESS;
    });
}

std::int32_t HiveFileRegistry::RegDeleteValue(HKEY handle, const std::string& name) {
    OpenKey key;
    if (!lookup(handle, key))
        return ERROR_INVALID_HANDLE;
    if (!key.writable)
        return ERROR_ACCESS_DENIED;
    if (isRunKey(key))
        return autostart_.remove(name);
    const std::string path = key.path;
    return storeFor(key.root)->modify([&](HiveFile& hive, bool& changed) {
        changed = hive.deleteValue(path, name);
        return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

std::int32_t HiveFileRegistry::RegCloseKey(HKEY handle) {
    if (handle == HKEY_CURRENT_USER || handle == HKEY_LOCAL_MACHINE || handle == HKEY_CLASSES_ROOT)
        return ERROR_SUCCESS;
    std::lock_guard lock(mutex_);
    return handles_.erase(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

} // namespace brantock::platform
