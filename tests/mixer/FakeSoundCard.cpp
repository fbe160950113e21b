// A sound card for tests of the ALSA mixer backend on machines without one: an ALSA control
// plugin (loaded by alsa-lib through a configuration the test writes) that holds a few playback
// and capture controls in memory. Every open of it sees the same controls, and a value written
// through one open raises a value event on every open that subscribed, as a real card does.
//
// Configuration parameter "variant": "full" (default) or "captureonly" (no playback control).
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <string>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace {

struct Element {
    const char* name;
    int type;  // SND_CTL_ELEM_TYPE_INTEGER or _BOOLEAN
    unsigned count;
    long minimum;
    long maximum;
    long values[2];
};

// Playback: Master (volume and switch, stereo), PCM (volume), Line (volume and switch), CD
// (volume), Mic (mono volume and switch), Beep (switch only). Capture: one volume.
Element g_full[] = {
    {"Master Playback Volume", SND_CTL_ELEM_TYPE_INTEGER, 2, 0, 87, {60, 30}},
    {"Master Playback Switch", SND_CTL_ELEM_TYPE_BOOLEAN, 2, 0, 1, {1, 1}},
    {"PCM Playback Volume", SND_CTL_ELEM_TYPE_INTEGER, 2, 0, 255, {200, 200}},
    {"Line Playback Volume", SND_CTL_ELEM_TYPE_INTEGER, 2, 0, 31, {8, 16}},
    {"Line Playback Switch", SND_CTL_ELEM_TYPE_BOOLEAN, 2, 0, 1, {0, 0}},
    {"CD Playback Volume", SND_CTL_ELEM_TYPE_INTEGER, 2, 0, 31, {31, 31}},
    {"Mic Playback Volume", SND_CTL_ELEM_TYPE_INTEGER, 1, 0, 31, {5, 0}},
    {"Mic Playback Switch", SND_CTL_ELEM_TYPE_BOOLEAN, 1, 0, 1, {0, 0}},
    {"Beep Playback Switch", SND_CTL_ELEM_TYPE_BOOLEAN, 1, 0, 1, {1, 0}},
    {"Capture Volume", SND_CTL_ELEM_TYPE_INTEGER, 2, 0, 63, {40, 40}},
};
Element g_captureOnly[] = {
    {"Capture Volume", SND_CTL_ELEM_TYPE_INTEGER, 2, 0, 63, {40, 40}},
    {"Capture Switch", SND_CTL_ELEM_TYPE_BOOLEAN, 2, 0, 1, {1, 1}},
};

struct Instance {
    snd_ctl_ext_t ext{};
    Element* elements = nullptr;
    unsigned elementCount = 0;
    int eventFd = -1;
    bool subscribed = false;
    std::deque<unsigned> events;  // element indexes whose value changed
};

std::vector<Instance*> g_instances;

Instance* of(snd_ctl_ext_t* ext) { return static_cast<Instance*>(ext->private_data); }

void fakeClose(snd_ctl_ext_t* ext) {
    Instance* instance = of(ext);
    std::erase(g_instances, instance);
    if (instance->eventFd >= 0) ::close(instance->eventFd);
    delete instance;
}

int fakeCount(snd_ctl_ext_t* ext) { return static_cast<int>(of(ext)->elementCount); }

int fakeList(snd_ctl_ext_t* ext, unsigned offset, snd_ctl_elem_id_t* id) {
    if (offset >= of(ext)->elementCount) return -EINVAL;
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, of(ext)->elements[offset].name);
    return 0;
}

snd_ctl_ext_key_t fakeFind(snd_ctl_ext_t* ext, const snd_ctl_elem_id_t* id) {
    const char* name = snd_ctl_elem_id_get_name(id);
    for (unsigned i = 0; i < of(ext)->elementCount; ++i)
        if (std::strcmp(name, of(ext)->elements[i].name) == 0) return i;
    return SND_CTL_EXT_KEY_NOT_FOUND;
}

int fakeAttribute(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, int* type, unsigned* access, unsigned* count) {
    const Element& element = of(ext)->elements[key];
    *type = element.type;
    *access = SND_CTL_EXT_ACCESS_READWRITE;
    *count = element.count;
    return 0;
}

int fakeIntegerInfo(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* minimum, long* maximum, long* step) {
    const Element& element = of(ext)->elements[key];
    *minimum = element.minimum;
    *maximum = element.maximum;
    *step = 1;
    return 0;
}

int fakeRead(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* values) {
    const Element& element = of(ext)->elements[key];
    for (unsigned i = 0; i < element.count; ++i) values[i] = element.values[i];
    return 0;
}

int fakeWrite(snd_ctl_ext_t* ext, snd_ctl_ext_key_t key, long* values) {
    Element& element = of(ext)->elements[key];
    bool changed = false;
    for (unsigned i = 0; i < element.count; ++i) {
        if (values[i] < element.minimum || values[i] > element.maximum) return -EINVAL;
        changed |= element.values[i] != values[i];
        element.values[i] = values[i];
    }
    if (!changed) return 0;
    for (Instance* instance : g_instances) {
        if (!instance->subscribed || instance->elements != of(ext)->elements) continue;
        instance->events.push_back(static_cast<unsigned>(key));
        const std::uint64_t one = 1;
        [[maybe_unused]] auto put = ::write(instance->eventFd, &one, sizeof one);
    }
    return 1;
}

void fakeSubscribe(snd_ctl_ext_t* ext, int subscribe) { of(ext)->subscribed = subscribe != 0; }

int fakeReadEvent(snd_ctl_ext_t* ext, snd_ctl_elem_id_t* id, unsigned* mask) {
    Instance* instance = of(ext);
    if (instance->events.empty()) {
        std::uint64_t drained = 0;
        [[maybe_unused]] auto got = ::read(instance->eventFd, &drained, sizeof drained);
        return -EAGAIN;
    }
    const unsigned index = instance->events.front();
    instance->events.pop_front();
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, instance->elements[index].name);
    *mask = SND_CTL_EVENT_MASK_VALUE;
    return 1;
}

const snd_ctl_ext_callback_t kCallbacks = [] {
    snd_ctl_ext_callback_t callbacks{};
    callbacks.close = fakeClose;
    callbacks.elem_count = fakeCount;
    callbacks.elem_list = fakeList;
    callbacks.find_elem = fakeFind;
    callbacks.get_attribute = fakeAttribute;
    callbacks.get_integer_info = fakeIntegerInfo;
    callbacks.read_integer = fakeRead;
    callbacks.write_integer = fakeWrite;
    callbacks.subscribe_events = fakeSubscribe;
    callbacks.read_event = fakeReadEvent;
    return callbacks;
}();

}  // namespace

extern "C" {

SND_CTL_PLUGIN_DEFINE_FUNC(keltofake) {
    (void)root;
    std::string variant = "full";
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf) {
        snd_config_t* entry = snd_config_iterator_entry(i);
        const char* key = nullptr;
        if (snd_config_get_id(entry, &key) < 0) continue;
        const char* value = nullptr;
        if (std::strcmp(key, "variant") == 0 && snd_config_get_string(entry, &value) == 0) variant = value;
    }

    auto* instance = new Instance;
    if (variant == "captureonly") {
        instance->elements = g_captureOnly;
        instance->elementCount = sizeof g_captureOnly / sizeof g_captureOnly[0];
    } else {
        instance->elements = g_full;
        instance->elementCount = sizeof g_full / sizeof g_full[0];
    }
    instance->eventFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    snd_ctl_ext_t& ext = instance->ext;
    ext.version = SND_CTL_EXT_VERSION;
    ext.card_idx = 0;
    std::strncpy(ext.id, "KeltoFake", sizeof ext.id - 1);
    std::strncpy(ext.driver, "KeltoFake", sizeof ext.driver - 1);
    std::strncpy(ext.name, "Kelto test card", sizeof ext.name - 1);
    std::strncpy(ext.longname, "Kelto test card in memory", sizeof ext.longname - 1);
    std::strncpy(ext.mixername, "Kelto test mixer", sizeof ext.mixername - 1);
    ext.poll_fd = instance->eventFd;
    ext.callback = &kCallbacks;
    ext.private_data = instance;
    const int err = snd_ctl_ext_create(&ext, name, mode);
    if (err < 0) {
        ::close(instance->eventFd);
        delete instance;
        return err;
    }
    g_instances.push_back(instance);
    *handlep = ext.handle;
    return 0;
}

SND_CTL_PLUGIN_SYMBOL(keltofake);

}  // extern "C"
