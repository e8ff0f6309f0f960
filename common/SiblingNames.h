// File names of the driver package's libraries and programs that the driver libraries load or
// start from their own directory (see SiblingPath.h).
#pragma once

struct SiblingName {
    const char* narrow;
    const wchar_t* wide;
};

inline constexpr SiblingName kDialogLibrary{"QVTDX5DU.DLL", L"QVTDX5DU.DLL"};
inline constexpr SiblingName kDialogLanguageLibrary{"QVTDX5DL.DLL", L"QVTDX5DL.DLL"};
inline constexpr SiblingName kRenderingDriver{"QVTDX5DD.DLL", L"QVTDX5DD.DLL"};
inline constexpr SiblingName kSettingsLibrary{"QVTDX5UI.DLL", L"QVTDX5UI.DLL"};
inline constexpr SiblingName kPictureLibrary{"QVTDX5BT.DLL", L"QVTDX5BT.DLL"};
inline constexpr SiblingName kInstructionLibrary{"QVTDX5B1.DLL", L"QVTDX5B1.DLL"};
inline constexpr SiblingName kToolkitLibrary{"QVTDX5TE.DLL", L"QVTDX5TE.DLL"};
inline constexpr SiblingName kProfileLibrary{"QVTDX5PU.DLL", L"QVTDX5PU.DLL"};
inline constexpr SiblingName kJobConversionLibrary{"QVTDX5LU.DLL", L"QVTDX5LU.DLL"};
inline constexpr SiblingName kPostInstallProgram{"QVTDX5PI.EXE", L"QVTDX5PI.EXE"};
