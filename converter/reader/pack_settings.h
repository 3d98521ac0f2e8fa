// What a pack description gives a target: the device's header folder and define, and the
// include folders of the software components and APIs the project uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pack_index.h"

// The include folders and defines a target takes from its packs, in the order found.
struct PackSettings {
    std::vector<std::string> folders;  // complete, in Windows form, without a trailing "\"
    std::vector<std::string> defines;  // X or X=V, as the description writes them
};

// A software component as a project's RTE element selects it.
struct ProjectComponent {
    std::string cclass;
    std::string cgroup;
    std::string csub;
    std::string cvariant;
    std::string cversion;
    std::string condition;
    std::string capiversion;  // empty unless the component implements an API
    PackId pack;              // from its package element
};

// The device named device (a device's Dname or a variant's Dvariant) below devices/family,
// optionally subFamily: the compile elements without Pname of every level, a deeper one
// overriding a shallower one attribute by attribute; where no level has one, the first compile
// with Pname of the deepest level that has any. False when the description has no such device.
bool addDeviceSettings(const PackDescription& pack, std::string_view device, PackSettings& settings);

// The pack's component that matches: equal Cclass, Cgroup, Csub and Cvariant (a bundle lends
// its components its Cclass and Cversion); among several, those of the project's condition when
// any has it, then the project's Cversion, else the highest. Its files without a condition give
// folders: an include folder as named, a header's own folder (configuration files and templates
// are copied into the project and left out). Nothing when the pack has no such component.
void addComponentSettings(const PackDescription& pack, const ProjectComponent& component, PackSettings& settings);

// The folders of the pack's api of the component's Cclass and Cgroup, given the same way; false
// when the pack describes no such api.
bool addApiSettings(const PackDescription& pack, const ProjectComponent& component, PackSettings& settings);
