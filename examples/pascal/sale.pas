{ A sale from Free Pascal in Delphi mode, as a Delphi point-of-sale host makes it: the
  module loaded with LoadLibrary, its C interface bound with GetProcAddress, the
  operator installed, then the printer started, a receipt opened, an item sold, paid in
  cash and closed.

    sale MODULE_LIBRARY HOST_DIRECTORY   (the virtual printer's root comes from ECFSIM_ROOT)

  Exit code 0 when every step did what it should. }
program Sale;

{$mode delphi}
{$H+}
{ 32-bit Windows hosts call the module with stdcall; every other platform with cdecl. }
{$IF defined(WINDOWS) and defined(CPU386)}{$DEFINE ECF_STDCALL}{$IFEND}

uses
  SysUtils, dynlibs;

type
  TEcfOperator = function(Context: Pointer; MessageJson: PAnsiChar): Integer;
    {$IFDEF ECF_STDCALL}stdcall{$ELSE}cdecl{$ENDIF};
  TEcfCall = function(Operation, RequestJson: PAnsiChar): PAnsiChar;
    {$IFDEF ECF_STDCALL}stdcall{$ELSE}cdecl{$ENDIF};
  TEcfFree = procedure(Text: PAnsiChar); {$IFDEF ECF_STDCALL}stdcall{$ELSE}cdecl{$ENDIF};
  TEcfSetOperator = procedure(Callback: TEcfOperator; Context: Pointer);
    {$IFDEF ECF_STDCALL}stdcall{$ELSE}cdecl{$ENDIF};
  TEcfSetHostDirectory = procedure(Directory: PAnsiChar); cdecl;

var
  EcfCall: TEcfCall;
  EcfFree: TEcfFree;
  EcfSetOperator: TEcfSetOperator;
  EcfSetHostDirectory: TEcfSetHostDirectory;

{ The operator: every notice and question is shown; the answer is no. }
function ShowMessage(Context: Pointer; MessageJson: PAnsiChar): Integer;
  {$IFDEF ECF_STDCALL}stdcall{$ELSE}cdecl{$ENDIF};
begin
  WriteLn('  operator: ', MessageJson);
  Result := 0;
end;

{ Runs one step: True when the call was made and its result is Expected. }
function Step(const Operation, Request, Expected: AnsiString): Boolean;
var
  Reply: PAnsiChar;
  Text: AnsiString;
begin
  Reply := EcfCall(PAnsiChar(Operation), PAnsiChar(Request));
  if Reply = nil then
  begin
    WriteLn(Operation, ': out of memory');
    Exit(False);
  end;
  Text := Reply;
  EcfFree(Reply);
  if Length(Text) > 160 then
    WriteLn(Operation, ' -> ', Copy(Text, 1, 160), '...')
  else
    WriteLn(Operation, ' -> ', Text);
  Result := (Pos('{"result":' + Expected + ',', Text) = 1) and (Pos('"error":null}', Text) > 0);
end;

function Bind(Library_: TLibHandle; const Name: AnsiString): Pointer;
begin
  Result := GetProcAddress(Library_, Name);
  if Result = nil then
  begin
    WriteLn('the module does not export ', Name);
    Halt(2);
  end;
end;

const
  PaymentFields = '"CDFILIAL:text:4", "IDTIPOMOVIVE:text:1", "DTHRINCMOV:datetime", ' +
    '"CDTIPORECE:text:3", "NMTIPORECE:text:40", "IDTIPORECE:text:1", "VRMOVIVEND:real", ' +
    '"VRMOVIVEOUT:real", "VRCOTINDOUT:real", "CDTIPOTROCO:text:3", "NRORDTROCO:text:3", ' +
    '"CDCLIENTE", "CDCONSUMIDOR", "DTMOVIMCAIXA:datetime", "DSIMPFISCAL:text:50", ' +
    '"CDFPIMPFIS:text:10", "NRCARTBANCO", "CDNSUHOSTTEF", "CDBANCARTCR:text:10", ' +
    '"CDTIPORECEORIG:text:3"';

var
  Module: TLibHandle;
  Ok: Boolean;
begin
  Module := LoadLibrary(ParamStr(1));
  if Module = NilHandle then
  begin
    WriteLn('cannot load ', ParamStr(1));
    Halt(2);
  end;
  EcfCall := TEcfCall(Bind(Module, 'ecf_call'));
  EcfFree := TEcfFree(Bind(Module, 'ecf_free'));
  EcfSetOperator := TEcfSetOperator(Bind(Module, 'ecf_set_operator'));
  EcfSetHostDirectory := TEcfSetHostDirectory(Bind(Module, 'ecf_SetHostDirectory'));

  EcfSetHostDirectory(PAnsiChar(AnsiString(ParamStr(2))));
  EcfSetOperator(ShowMessage, nil);

  Ok := Step('StartImpFiscal', '{"args": [{"CDFILIAL": "1", "CDCAIXA": "1", ' +
    '"NRSERIEIMP": "VP1", "NRSERIE": "VP1", "ESQUEMA": "001", "ESQUEMACOR": "001", ' +
    '"CDPORTAIMPFIS": "ECF1", "PORTAIMPFIS": "ECF1"}]}', 'true')
    and Step('CarregaAliquota', '{"args": {"scheme": "001"}}', 'null')
    and Step('CarregaTotalizador', '{"args": ["", "001", 0]}', 'null')
    and Step('CarregaRecebimento', '{"args": ["", "001", 0, {"fields": [' +
      '"CDTIPORECE:text:3", "DSIMPFISCAL:text:50", "NMTIPORECE:text:40", ' +
      '"IDTIPORECE:text:1", "IDTPBUTTON:text:1", "IDMOSTRARECE:text:1", ' +
      '"CDFPIMPFIS:text:10", "IDEMIVALE:text:1"], ' +
      '"rows": [["001", "Dinheiro", "", "1", "5", "S", "", ""]]}]}', 'null')
    and Step('AbreCupom', '{"args": [{"ESQUEMACOR": "001", "INTTEFERRO": "", ' +
      '"INCLUICPF": "", "INCLUINOME": "", "INCLUIENDERECO": "", "CUPNR": "", ' +
      '"CONTCUPOM": "", "TIPOTICKET": "", "IVACOMP": "", "IVAPROP": "", "TIPODOC": "", ' +
      '"NRDOC": "", "MESA": "", "IDUTILTEF": "N", "UTILTEF": false}]}', 'true')
    and Step('VendaItem', '{"args": [{"ESQUEMACOR": "001", "INTEFERRO": "", "MESA": "", ' +
      '"FLAG": "", "CDARVPROD": "2002", "NMPROD": "Café coado", "CDALIQ": "00", ' +
      '"IDALIQ": "T", "QTDE": 3, "VALOR": {"amount": "3.20"}, "DESCONT": 0, ' +
      '"UNIDADE": "UN", "TIPOTICKET": "", "VRPERCALIQ": 18, "IDUTILTEF": "N", ' +
      '"UTILTEF": false}]}', 'true')
    and Step('FechaCupom', '{"args": [{"size": 44, "at": {"2": "001", "4": false, ' +
      '"6": 0, "7": 0, "8": 0, "9": "", "11": false, "21": "", "27": "2", ' +
      '"13": {"fields": [' + PaymentFields + '], "rows": [{"CDFILIAL": "1", ' +
      '"IDTIPOMOVIVE": "E", "DTHRINCMOV": "now", "CDTIPORECE": "001", ' +
      '"VRMOVIVEND": "10.00", "DSIMPFISCAL": "Dinheiro"}]}, ' +
      '"14": {"fields": ["CDTIPORECE:text:3", "NMTIPORECE:text:40", "IDTIPORECE:text:1"], ' +
      '"rows": [["001", "Dinheiro", "1"]]}}}]}', 'true')
    and Step('FechaPorta', '', 'true');
  EcfSetOperator(nil, nil);
  if Ok then
    WriteLn('Sale closed.')
  else
    WriteLn('The sale failed.');
  if not Ok then
    Halt(1);
end.
