@echo off
rem Registers the quarven add-in with this user's Remote Desktop client.
rem   install.cmd        the add-in that matches Windows: x64 on 64-bit, x86 on 32-bit
rem   install.cmd x86    the 32-bit add-in, for the 32-bit client (SysWOW64\mstsc.exe)
rem   install.cmd x64    the 64-bit add-in
rem Paths may hold parentheses ("Program Files (x86)"), so they are only ever
rem expanded outside parenthesised blocks.
setlocal
set "KEY=HKCU\Software\Microsoft\Terminal Server Client\Default\AddIns\quarven"

if not "%~2"=="" goto usage
set "ARCH=%~1"
if not "%ARCH%"=="" goto chosen
rem A 32-bit cmd on 64-bit Windows sees x86 here and the real one in PROCESSOR_ARCHITEW6432.
set "ARCH=%PROCESSOR_ARCHITECTURE%"
if defined PROCESSOR_ARCHITEW6432 set "ARCH=%PROCESSOR_ARCHITEW6432%"
if /i "%ARCH%"=="AMD64" set "ARCH=x64"
if /i not "%ARCH%"=="x86" if /i not "%ARCH%"=="x64" goto unknown
:chosen
if /i "%ARCH%"=="x86" set "ARCH=x86"
if /i "%ARCH%"=="x64" set "ARCH=x64"
if not "%ARCH%"=="x86" if not "%ARCH%"=="x64" goto usage

set "DLL=%~dp0%ARCH%\quarven.dll"
if not exist "%DLL%" goto missing

set "OLD="
for /f "tokens=1,2,*" %%a in ('reg query "%KEY%" /v Name 2^>nul') do if /i "%%a"=="Name" set "OLD=%%c"
if /i "%OLD%"=="%DLL%" goto same

reg add "%KEY%" /v Name /t REG_SZ /d "%DLL%" /f >nul
if errorlevel 1 goto failed
if not defined OLD goto installed
echo Replaced the earlier registration of %OLD%
:installed
echo quarven is installed for this user: %DLL%
echo Restart the Remote Desktop client to load it.
exit /b 0

:same
echo quarven is already installed for this user: %DLL%
exit /b 0

:missing
echo quarven was not installed: %DLL% is missing. Unpack the whole zip and run install.cmd from there.
exit /b 1

:failed
echo quarven was not installed: could not write %KEY%
exit /b 1

:unknown
echo quarven was not installed: there is no add-in for %ARCH% Windows.
echo Give x86 or x64 if your Remote Desktop client runs as one of those.
exit /b 1

:usage
echo usage: install.cmd [x86 ^| x64]
echo Without an argument it installs the add-in that matches this Windows.
echo Give x86 if you use the 32-bit Remote Desktop client on 64-bit Windows.
exit /b 2
