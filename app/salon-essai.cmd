@echo off
rem Salon d'essai de Tavlen : un faux salon Camfrog pour essayer les commandes
rem sans risque (voir LISEZMOI.txt). Texte en ASCII seulement : cmd.exe lit ce
rem fichier dans la page de code de la console, pas en Windows-1252.
start "" "%~dp0standin.exe" --room salon_essai --topic "Salon d'essai de Tavlen" --owner --users alice,Bob,carl,lena,nina,paul --hidden-users yann --say-every-ms 30000
