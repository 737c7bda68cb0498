// The window toolkit's calls on the display-less model: bundle lookup, nibs and
// windows, events and handlers, control values, and the folder chooser's
// descriptors.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "MacWindows.h"
#include "WindowService.h"

namespace {

namespace fs = std::filesystem;
using namespace zt::windows;

fs::path TemporaryFolder() {
    static const fs::path root = [] {
        char pattern[] = "/tmp/zt-windows-XXXXXX";
        if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        return fs::path(pattern);
    }();
    static int serial = 0;
    fs::path folder = root / std::to_string(serial++);
    fs::create_directories(folder);
    return folder;
}

void WriteInfoPlist(const fs::path& folder, const std::string& identifier) {
    std::ofstream(folder / "Info.plist")
        << "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict>\n"
           "<key>CFBundleName</key><string>Other</string>\n"
           "<key>CFBundleIdentifier</key><string>"
        << identifier << "</string>\n</dict></plist>\n";
}

class Toolbox : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(ChooseBackend(true), Backend::Model);
        RegisterBundleFolder(ZT_BUNDLE_DIR);
    }
    WindowRef MakeSettingsWindow() {
        IBNibRef nib = nullptr;
        EXPECT_EQ(
            CreateNibReferenceWithCFBundle(CFBundleGetBundleWithIdentifier(CFSTR("Zoetropica")),
                                           CFSTR("SettingsDialog"), &nib),
            noErr);
        WindowRef window = nullptr;
        EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("PluginSettings"), &window), noErr);
        DisposeNibReference(nib);
        return window;
    }
    ControlRef Control(WindowRef window, const char* signature, SInt32 id) {
        ControlID controlId = {FourCC(*reinterpret_cast<const char(*)[5]>(signature)), id};
        ControlRef control = nullptr;
        EXPECT_EQ(GetControlByID(window, &controlId, &control), noErr);
        return control;
    }
};

TEST_F(Toolbox, BundlesAreFoundBesideOrAboveTheirLoadedObject) {
    struct Layout {
        const char* identifier;
        const char* objectFolder; // where the shared object goes, under the bundle folder
    };
    for (Layout layout : {Layout{"zt.test.Beside", "."}, Layout{"zt.test.Above", "Contents"}}) {
        SCOPED_TRACE(layout.identifier);
        fs::path bundle = TemporaryFolder();
        fs::create_directories(bundle / layout.objectFolder);
        fs::path object = bundle / layout.objectFolder / "Copy.so";
        fs::copy_file(fs::path(ZT_BUNDLE_DIR) / "Zoetropica.so", object);
        WriteInfoPlist(bundle, layout.identifier);
        CFStringRef identifier = ZTMakeConstantString(layout.identifier);
        EXPECT_EQ(CFBundleGetBundleWithIdentifier(identifier), nullptr) << "not loaded yet";

        void* loaded = dlopen(object.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(loaded, nullptr) << dlerror();
        CFBundleRef found = CFBundleGetBundleWithIdentifier(identifier);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(CFBundleGetBundleWithIdentifier(identifier), found)
            << "one bundle, one reference";
        IBNibRef nib = nullptr;
        EXPECT_EQ(CreateNibReferenceWithCFBundle(found, CFSTR("SettingsDialog"), &nib),
                  kIBCarbonRuntimeCantFindNibFile)
            << "this bundle has no Resources/";
        EXPECT_EQ(nib, nullptr);
        dlclose(loaded);
    }
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("zt.test.Nowhere")), nullptr);
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(nullptr), nullptr);
    EXPECT_EQ(CFSTR("Zoetropica"), CFSTR("Zoetropica"));
}

TEST_F(Toolbox, NibsAndWindowsThatCannotBeMade) {
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(CFSTR("Zoetropica"));
    ASSERT_NE(bundle, nullptr);
    IBNibRef nib = nullptr;
    EXPECT_EQ(CreateNibReferenceWithCFBundle(bundle, CFSTR("NoSuchNib"), &nib),
              kIBCarbonRuntimeCantFindNibFile);
    EXPECT_EQ(CreateNibReferenceWithCFBundle(nullptr, CFSTR("SettingsDialog"), &nib), paramErr);
    ASSERT_EQ(CreateNibReferenceWithCFBundle(bundle, CFSTR("SettingsDialog"), &nib), noErr);
    WindowRef window = reinterpret_cast<WindowRef>(&nib); // must be overwritten
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("NoSuchWindow"), &window),
              kIBCarbonRuntimeCantFindObject);
    EXPECT_EQ(window, nullptr);
    DisposeNibReference(nib);
    DisposeNibReference(nullptr);
}

TEST_F(Toolbox, ControlsKeepTheirValuesInRange) {
    WindowRef window = MakeSettingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowShown(window));
    ShowWindow(window);
    EXPECT_TRUE(IsWindowShown(window));
    struct Case {
        const char* signature;
        SInt32 id;
        SInt16 set;
        SInt16 expected;
    };
    const Case cases[] = {
        {"cbox", 3, 1, 1}, {"cbox", 3, 5, 1}, {"cbox", 3, -2, 0}, {"pmnu", 7, 3, 3},
        {"pmnu", 7, 9, 4}, {"pmnu", 8, 0, 0}, {"push", 10, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " set " << c.set);
        ControlRef control = Control(window, c.signature, c.id);
        SetControlValue(control, c.set);
        EXPECT_EQ(GetControlValue(control), c.expected);
        EXPECT_EQ(GetControlOwner(control), window);
        ControlID id{};
        EXPECT_EQ(GetControlID(control, &id), noErr);
        EXPECT_EQ(id.id, c.id);
    }
    ControlID wrongSignature = {FourCC("pmnu"), 3};
    ControlRef control = reinterpret_cast<ControlRef>(window);
    EXPECT_EQ(GetControlByID(window, &wrongSignature, &control), errUnknownControl);
    EXPECT_EQ(control, nullptr);
    EXPECT_EQ(GetControlValue(nullptr), 0);
    SetControlValue(nullptr, 1);
    EXPECT_EQ(GetControlOwner(nullptr), nullptr);
}

struct HitLog {
    std::vector<std::string> calls;
    ControlRef control = nullptr;
};

template <int Tag, OSStatus Answer>
OSStatus Record(EventHandlerCallRef, EventRef event, void* userData) {
    auto& log = *static_cast<HitLog*>(userData);
    log.calls.push_back("handler" + std::to_string(Tag));
    UInt32 size = 0;
    EventParamType type = 0;
    EXPECT_EQ(GetEventParameter(event, kEventParamDirectObject, typeControlRef, &type,
                                sizeof(ControlRef), &size, &log.control),
              noErr);
    EXPECT_EQ(type, typeControlRef);
    EXPECT_EQ(size, sizeof(ControlRef));
    ControlRef small = nullptr;
    EXPECT_EQ(GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, 4, nullptr,
                                &small),
              paramErr);
    EXPECT_EQ(GetEventParameter(event, FourCC("xxxx"), typeControlRef, nullptr, sizeof(ControlRef),
                                nullptr, &small),
              eventParameterNotFoundErr);
    EXPECT_EQ(GetEventClass(event), kEventClassControl);
    EXPECT_EQ(GetEventKind(event), UInt32(kEventControlHit));
    return Answer;
}

TEST_F(Toolbox, HitsReachTheNewestHandlersUntilOneHandlesThem) {
    WindowRef window = MakeSettingsWindow();
    HitLog log;
    EventTypeSpec hit = {kEventClassControl, kEventControlHit};
    EventTypeSpec other = {kEventClassControl, 2};
    EventHandlerRef first = nullptr, second = nullptr, third = nullptr, deaf = nullptr;
    EventTargetRef target = GetWindowEventTarget(window);
    ASSERT_EQ(InstallEventHandler(target, Record<1, noErr>, 1, &hit, &log, &first), noErr);
    ASSERT_EQ(InstallEventHandler(target, Record<2, eventNotHandledErr>, 1, &hit, &log, &second),
              noErr);
    ASSERT_EQ(InstallEventHandler(target, Record<3, noErr>, 1, &other, &log, &deaf), noErr);
    EXPECT_EQ(InstallEventHandler(nullptr, Record<1, noErr>, 1, &hit, &log, &third), paramErr);

    ASSERT_TRUE(ClickControl(window, 4));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"handler2", "handler1"}));
    EXPECT_EQ(log.control, Control(window, "cbox", 4));

    log.calls.clear();
    EXPECT_EQ(RemoveEventHandler(second), noErr);
    EXPECT_EQ(RemoveEventHandler(second), paramErr);
    ASSERT_TRUE(PickPopUpItem(window, 8, 2));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"handler1"}));
    EXPECT_EQ(GetControlValue(log.control), 2);

    log.calls.clear();
    EXPECT_FALSE(PickPopUpItem(window, 8, 3)) << "no third item";
    EXPECT_FALSE(PickPopUpItem(window, 3, 1)) << "a check box is no pop-up";
    EXPECT_FALSE(ClickControl(window, 7)) << "a pop-up is not clicked";
    EXPECT_FALSE(ClickControl(window, 42));
    EXPECT_TRUE(log.calls.empty());
}

fs::path PathOfSpec(const FSSpec& spec) {
    FSRef ref{};
    EXPECT_EQ(FSpMakeFSRef(&spec, &ref), noErr);
    UInt8 path[4096];
    EXPECT_EQ(FSRefMakePath(&ref, path, sizeof path), noErr);
    return fs::path(reinterpret_cast<char*>(path));
}

TEST_F(Toolbox, TheChooserAnswersWithAFolderSpecOrNothing) {
    fs::path folder = TemporaryFolder();
    fs::path file = folder / "file.txt";
    std::ofstream(file) << "not a folder";
    struct Case {
        const char* name;
        bool preset;
        std::optional<fs::path> answer;
        OSErr status;
    };
    const Case cases[] = {
        {"a folder", true, folder, noErr},
        {"cancelled", true, std::nullopt, userCanceledErr},
        {"no one to answer", false, std::nullopt, userCanceledErr},
        {"a file", true, file, dirNFErr},
        {"nothing there", true, folder / "gone", fnfErr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.preset) PresetFolderChoice(c.answer);
        NavDialogOptions options;
        ASSERT_EQ(NavGetDefaultDialogOptions(&options), noErr);
        NavReplyRecord reply;
        std::memset(&reply, 0xAB, sizeof reply);
        EXPECT_EQ(NavChooseFolder(nullptr, &reply, &options, nullptr, nullptr, nullptr), c.status);
        EXPECT_EQ(reply.validRecord, c.status == noErr);
        AEDesc spec = {typeNull, nullptr};
        OSErr coerced = AECoerceDesc(&reply.selection, typeFSS, &spec);
        if (c.status == noErr) {
            ASSERT_EQ(coerced, noErr);
            EXPECT_EQ(spec.descriptorType, typeFSS);
            EXPECT_EQ(AEGetDescDataSize(&spec), Size(sizeof(FSSpec)));
            FSSpec chosen{};
            EXPECT_EQ(AEGetDescData(&spec, &chosen, sizeof chosen), noErr);
            EXPECT_EQ(PathOfSpec(chosen), fs::canonical(folder));
        } else {
            EXPECT_EQ(coerced, errAECoercionFail);
            EXPECT_EQ(spec.descriptorType, typeNull);
        }
        EXPECT_EQ(AEDisposeDesc(&spec), noErr);
        EXPECT_EQ(AEDisposeDesc(&spec), noErr) << "a null descriptor disposes harmlessly";
        EXPECT_EQ(NavDisposeReply(&reply), noErr);
    }
}

TEST_F(Toolbox, DescriptorDataIsCutToTheCallersRoom) {
    PresetFolderChoice(TemporaryFolder());
    NavReplyRecord reply;
    ASSERT_EQ(NavChooseFolder(nullptr, &reply, nullptr, nullptr, nullptr, nullptr), noErr);
    AEDesc spec = {typeNull, nullptr};
    ASSERT_EQ(AECoerceDesc(&reply.selection, typeFSS, &spec), noErr);
    UInt8 room[8];
    std::memset(room, 0xEE, sizeof room);
    EXPECT_EQ(AEGetDescData(&spec, room, 4), noErr);
    EXPECT_EQ(room[4], 0xEE) << "written past the room given";
    AEDesc again = {typeNull, nullptr};
    EXPECT_EQ(AECoerceDesc(&spec, FourCC("long"), &again), errAECoercionFail);
    AEDisposeDesc(&spec);
    NavDisposeReply(&reply);
}

} // namespace
