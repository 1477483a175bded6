<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="REC_ID" fieldtype="i4"/>
<FIELD attrname="BASE_VALUE" fieldtype="r8"/>
<FIELD attrname="BASE_UNIT" fieldtype="string" WIDTH="255"/>
<FIELD attrname="N_COST" fieldtype="r8"/>
<FIELD attrname="O_COST" fieldtype="r8"/>
<FIELD attrname="RATE_COST" fieldtype="r8"/>
<FIELD attrname="N_PROCESS" fieldtype="r8"/>
<FIELD attrname="O_PROCESS" fieldtype="r8"/>
<FIELD attrname="RATE_PROCESS" fieldtype="r8"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
