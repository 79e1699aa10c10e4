// SPDX-License-Identifier: MIT
// Compiles the precompiled header that the tests of widgets share; holds no code.
