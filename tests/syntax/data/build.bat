@echo off
rem Builds the shop applet and copies it to the server.
REM Usage: build [target]
:: a comment line in the style of labels
:start
set TARGET=%1
if "%TARGET%"=="" set TARGET=all
echo Building %TARGET% ...
javac -d classes src\shop\*.java
if errorlevel 1 goto failed
for %%f in (classes\*.class) do copy %%f \\server\share\ > nul
remark this is not a comment
set remote=1
echo rem inside an echo is a comment here
call deploy.bat "%TARGET%" 2
shift
goto end
:failed
echo "Build failed" with code 1.5 & pause
  :indented label
echo done :not a label
:end
