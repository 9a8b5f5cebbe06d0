' A late-binding client with no Qt of its own: the script host creates our control by its name and reads
' a label, a price and the compatible acts of a sample act. Exit status 0 when every answer is right,
' else the number of the first wrong one (WScript.Quit; the tests run it with cscript //B).
Option Explicit

Dim ctl
Set ctl = CreateObject("LectTarvo.ctlTarvo")
ctl.SRTSeulement = 0
ctl.GrilleTarifaire = "001"
ctl.DateReference = "20250601"
ctl.CheminConfig = "C:\ProgramData\santesocial\fsv\1.40.12\conf"
ctl.CodeActe = "LHQK005"

If ctl.LireLibelle <> "scano plusieurs segments rachis" Then WScript.Quit 1
If ctl.LirePrix <> "2590" Then WScript.Quit 2
If ctl.LireActesCompatibles() <> "YYYY026|suppl. injection PDC scano|ZZQK002|guidage scanographique" Then WScript.Quit 3
' Properties read the same way, whatever the case a script writes them in.
If ctl.prixacte <> "2590" Then WScript.Quit 4

' A failure of the control reaches the script as its error, with the control's number and source.
On Error Resume Next
ctl.DateReference = "2025-06-01"
Dim prix
prix = ctl.LirePrix
If Err.Number <> 440 Then WScript.Quit 5
If Err.Source <> "LectTarvo.ctlTarvo" Then WScript.Quit 6
If InStr(Err.Description, "DateReference") = 0 Then WScript.Quit 7
On Error GoTo 0

WScript.Quit 0
