#pragma once
// Hashes of the wipe frames on the known pictures at the phases 0, 1, 15, 16,
// 128, 255 and 256, by wipe and screen width.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace wipekit {

inline const std::map<std::pair<std::string, int>, std::array<std::uint64_t, 7>> Goldens = {
    {{"Blend", 640}, {0x3d6de9f30ad8fb25ull, 0xb5bc8cea1598ab5dull, 0xcd642ed87a0580a5ull, 0x3e44f8d1fd78fc6dull, 0x540562903717235dull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Square", 640}, {0x3d6de9f30ad8fb25ull, 0xf4995fd77d60fb25ull, 0x4e4470c9fbb7bda5ull, 0xe67e61353b246125ull, 0xa9b38110a44b8425ull, 0x791a57967cf72d25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Circle", 640}, {0x3d6de9f30ad8fb25ull, 0x53e190ef40889e25ull, 0xf51cdf7a78e07ca5ull, 0xf77dbda58a6e7925ull, 0xe841f9d01bd62425ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Rect", 640}, {0x3d6de9f30ad8fb25ull, 0x3d6de9f30ad8fb25ull, 0x3d6de9f30ad8fb25ull, 0x4cbb85923d364a25ull, 0x69a6a26df58e8125ull, 0x9700305319944b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Spiral", 640}, {0x3d6de9f30ad8fb25ull, 0x87f1e20347cae725ull, 0x87f1e20347cae725ull, 0xc40802eb58db6d25ull, 0x3b7115e70f358625ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Blind", 640}, {0x3d6de9f30ad8fb25ull, 0x81fd969cb4eef525ull, 0x81fd969cb4eef525ull, 0xf0d11dca1cf3e725ull, 0x4efb213b06baa125ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"BlindLeft", 640}, {0x3d6de9f30ad8fb25ull, 0x3d6de9f30ad8fb25ull, 0x0ef337bd158b3125ull, 0x0ef337bd158b3125ull, 0x39758e97ed34d925ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"BlindRight", 640}, {0x3d6de9f30ad8fb25ull, 0x3d6de9f30ad8fb25ull, 0x70458977b1214d25ull, 0x70458977b1214d25ull, 0xccf7ce6cc5fe1d25ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"BlindTop", 640}, {0x3d6de9f30ad8fb25ull, 0x3d6de9f30ad8fb25ull, 0x84479e5a18dd9225ull, 0x84479e5a18dd9225ull, 0x2ff63379792a2b25ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"BlindBottom", 640}, {0x3d6de9f30ad8fb25ull, 0x3d6de9f30ad8fb25ull, 0x85b4743217979325ull, 0x85b4743217979325ull, 0x5492c8f9414b2125ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StripeH1", 640}, {0x3d6de9f30ad8fb25ull, 0x10a6b5b3dfd9a825ull, 0xc102ad64307eea25ull, 0x43b384c66ef5ac25ull, 0xa578aec81a64f025ull, 0x4ffc52377929b025ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StripeH2", 640}, {0x3d6de9f30ad8fb25ull, 0x70cc1a56ddb85525ull, 0x233f0f0d36439f25ull, 0xd8c5ae3d011c6d25ull, 0xb49b876b9226a125ull, 0xa36adb3cb0644625ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StripeV1", 640}, {0x3d6de9f30ad8fb25ull, 0x844f6464619eb925ull, 0x8e75d24cadf09f25ull, 0x57a777649c697525ull, 0xfb264c816496f725ull, 0x9936dda0746a2d25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StripeV2", 640}, {0x3d6de9f30ad8fb25ull, 0x4a147d2dd1c39c25ull, 0xd67a979ff9399325ull, 0xf71fec1325d91c25ull, 0xb52fc72ccd49c525ull, 0x187123da6ffca125ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Mosaic", 640}, {0x3d6de9f30ad8fb25ull, 0x2255b316e93ba325ull, 0x91792a71c1b608f5ull, 0xa96e086c226b41a5ull, 0x61d86f4fe3c7a325ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"CutIn", 640}, {0x3d6de9f30ad8fb25ull, 0xa62d3917dfade26aull, 0x3dc34565d3f289bdull, 0x1f3d2c624829ebc5ull, 0x1e2ed2e31baf2fe5ull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Wave", 640}, {0x3d6de9f30ad8fb25ull, 0x4f123960bfa22106ull, 0x88e41363c232a5b2ull, 0x348408d874a00cedull, 0x03c10a5ed4ea6f3dull, 0x9eecf5cb8d6a8b25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StretchLeft", 640}, {0x3d6de9f30ad8fb25ull, 0xc59221cbb5d90ba5ull, 0x79781395f7bbd465ull, 0x7c125c84df6c1125ull, 0x5cd1a63b9f68cfa5ull, 0xaf730e9e67d17565ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StretchRight", 640}, {0x3d6de9f30ad8fb25ull, 0xaa6c3803c7169be5ull, 0x3bd752e968b625a5ull, 0xa30381b0653a65a5ull, 0x1230601fff32b2a5ull, 0xd6715c43722c4865ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StretchTop", 640}, {0x3d6de9f30ad8fb25ull, 0x271cbd5564659725ull, 0xa1ada90ec9d804a5ull, 0x708bdff139e49fa5ull, 0x731c1a952ab57225ull, 0xd35d7eaff630fba5ull, 0x9eecf5cb8d6a8b25ull}},
    {{"StretchBottom", 640}, {0x3d6de9f30ad8fb25ull, 0x978a2f172db830a5ull, 0x79ca92b28ec02aa5ull, 0x3648ae3602833125ull, 0x8ffe148d32de0c25ull, 0x02c5b004cc4c5725ull, 0x9eecf5cb8d6a8b25ull}},
    {{"FlipVertical", 640}, {0x3d6de9f30ad8fb25ull, 0xc2a4e7af6e7b4f25ull, 0xc2a4e7af6e7b4f25ull, 0xc2a4e7af6e7b4f25ull, 0xc2a4e7af6e7b4f25ull, 0xc2a4e7af6e7b4f25ull, 0x9eecf5cb8d6a8b25ull}},
    {{"Blend", 800}, {0xc6dae65dbbc6e1e5ull, 0x5a0688b5198346ddull, 0x2729d3903c5725d1ull, 0xc45a25224dca25edull, 0x66393571f3d3105dull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"Square", 800}, {0xc6dae65dbbc6e1e5ull, 0x300b7cb9ff28d065ull, 0x2c2439d78ab467e5ull, 0x016827de318c6ae5ull, 0x57d6bd740c45f5e5ull, 0x8a2be31748cc94e5ull, 0xa1afd916152703e5ull}},
    {{"Circle", 800}, {0xc6dae65dbbc6e1e5ull, 0xee7344c909ac01e5ull, 0xe185c8ec336db5e5ull, 0x07d79aa362fb8765ull, 0x0ffe45dfb7cf04e5ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"Rect", 800}, {0xc6dae65dbbc6e1e5ull, 0xc6dae65dbbc6e1e5ull, 0xc6dae65dbbc6e1e5ull, 0x6029b33afc74b6e5ull, 0x867091f05d26eee5ull, 0x87aebd9b978ec0e5ull, 0xa1afd916152703e5ull}},
    {{"Spiral", 800}, {0xc6dae65dbbc6e1e5ull, 0xb748751d2d62efe5ull, 0xb748751d2d62efe5ull, 0x39872ce28ceacfe5ull, 0xa5626460ca1fe8e5ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"Blind", 800}, {0xc6dae65dbbc6e1e5ull, 0x7735fb9cca4ac6e5ull, 0x7735fb9cca4ac6e5ull, 0x890036b62bb367e5ull, 0x44da8057856f7fe5ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"BlindLeft", 800}, {0xc6dae65dbbc6e1e5ull, 0xc6dae65dbbc6e1e5ull, 0x63a01c3187cc78e5ull, 0x8c8d7c4a828da5e5ull, 0x43a569cc6ba428e5ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"BlindRight", 800}, {0xc6dae65dbbc6e1e5ull, 0xc6dae65dbbc6e1e5ull, 0xe605f349defbc5e5ull, 0xcdd07b1681917ee5ull, 0x8c12d2eb99fb26e5ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"BlindTop", 800}, {0xc6dae65dbbc6e1e5ull, 0xc6dae65dbbc6e1e5ull, 0xa714a63e967534e5ull, 0xa714a63e967534e5ull, 0x6b8cb12e32d651e5ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"BlindBottom", 800}, {0xc6dae65dbbc6e1e5ull, 0xc6dae65dbbc6e1e5ull, 0x52adc86d518c2fe5ull, 0x52adc86d518c2fe5ull, 0x6feb147388dc53e5ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"StripeH1", 800}, {0xc6dae65dbbc6e1e5ull, 0x32a4f596f6cfd7e5ull, 0x7ac5ce50497adee5ull, 0x3b56f37934f66ae5ull, 0xaa9b06fee15db6e5ull, 0xa21b6091054b2de5ull, 0xa1afd916152703e5ull}},
    {{"StripeH2", 800}, {0xc6dae65dbbc6e1e5ull, 0xa5761495488139e5ull, 0x02d78b342b6059e5ull, 0x24e003fafadc9ee5ull, 0xf5feb1e6cb7a44e5ull, 0xcb3687d2367bcfe5ull, 0xa1afd916152703e5ull}},
    {{"StripeV1", 800}, {0xc6dae65dbbc6e1e5ull, 0x0a639dfa2c6af4e5ull, 0xd02fdbb0578ff0e5ull, 0x2bfb89030cf56ae5ull, 0xef82dd0a54fa08e5ull, 0x4d9981d76a6b47e5ull, 0xa1afd916152703e5ull}},
    {{"StripeV2", 800}, {0xc6dae65dbbc6e1e5ull, 0xfd217ec8179269e5ull, 0xa9be51b71f7bfbe5ull, 0xd03a8b38afd973e5ull, 0xea6f79e0d6173ce5ull, 0x9c946481b77420e5ull, 0xa1afd916152703e5ull}},
    {{"Mosaic", 800}, {0xc6dae65dbbc6e1e5ull, 0x28a25b44d8d03325ull, 0x41c517ce7a790045ull, 0x5fadc89b87916225ull, 0x2e146441a7c4b325ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"CutIn", 800}, {0xc6dae65dbbc6e1e5ull, 0x67eda78bd6354639ull, 0x20e32898063a58b9ull, 0x67c653821d92fbf1ull, 0x48d01ffcf87d9651ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"Wave", 800}, {0xc6dae65dbbc6e1e5ull, 0xc2b5762379607316ull, 0x1ccaedca951170f9ull, 0x590e7128305800aaull, 0x55d78837c8e92b15ull, 0xa1afd916152703e5ull, 0xa1afd916152703e5ull}},
    {{"StretchLeft", 800}, {0xc6dae65dbbc6e1e5ull, 0xf17623b7172305e5ull, 0x1e472ea902cc2215ull, 0x0ad1dde285dd3855ull, 0x87de52ad15338ee5ull, 0x81250b262ae86365ull, 0xa1afd916152703e5ull}},
    {{"StretchRight", 800}, {0xc6dae65dbbc6e1e5ull, 0x11601f647ae72405ull, 0x1a30fddaf66d4e85ull, 0x401e22d02976f915ull, 0x3a3388ff209d81a5ull, 0x3840aa6446532465ull, 0xa1afd916152703e5ull}},
    {{"StretchTop", 800}, {0xc6dae65dbbc6e1e5ull, 0x591bbc8277ac41a5ull, 0x399aee5a3b770085ull, 0xf1a6c67229def2c5ull, 0x1240ca5b032f30c5ull, 0x493da8f06128cf85ull, 0xa1afd916152703e5ull}},
    {{"StretchBottom", 800}, {0xc6dae65dbbc6e1e5ull, 0x13b512363b9ea585ull, 0x7fe311350e556e45ull, 0xb91ee791b90ad265ull, 0xd863b408d671ea45ull, 0xdf4e44cdcbf15265ull, 0xa1afd916152703e5ull}},
    {{"FlipVertical", 800}, {0xc6dae65dbbc6e1e5ull, 0x038fe7b9fa2c02e5ull, 0x038fe7b9fa2c02e5ull, 0x038fe7b9fa2c02e5ull, 0x038fe7b9fa2c02e5ull, 0x038fe7b9fa2c02e5ull, 0xa1afd916152703e5ull}},
};

} // namespace wipekit
