@echo off
rem Removes the quarven add-in from this user's Remote Desktop client.
setlocal
set "KEY=HKCU\Software\Microsoft\Terminal Server Client\Default\AddIns\quarven"

reg query "%KEY%" >nul 2>&1
if errorlevel 1 goto absent
reg delete "%KEY%" /f >nul
if errorlevel 1 goto failed
echo quarven is removed for this user. Restart the Remote Desktop client to unload it.
exit /b 0

:absent
echo quarven is not installed for this user; nothing to remove.
exit /b 0

:failed
echo quarven was not removed: could not delete %KEY%
exit /b 1
