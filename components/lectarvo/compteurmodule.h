#pragma once

// What keeps the server's file loaded: live objects and client locks (IClassFactory::LockServer).
void moduleRetenir() noexcept;
void moduleRelacher() noexcept;
bool moduleInutilise() noexcept;
