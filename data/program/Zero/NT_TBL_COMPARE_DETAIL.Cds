<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REC_ID" fieldtype="i4"/>
<FIELD attrname="ORD" fieldtype="i4"/>
<FIELD attrname="RECORD_TYPE" fieldtype="string" WIDTH="1"/>
<FIELD attrname="ITEM" fieldtype="string" WIDTH="255"/>
<FIELD attrname="METHOD" fieldtype="string" WIDTH="255"/>
<FIELD attrname="F_VALUE" fieldtype="r8"/>
<FIELD attrname="F_UNIT" fieldtype="string" WIDTH="255"/>
<FIELD attrname="UNIT_PRICE" fieldtype="r8"/>
<FIELD attrname="PRICE" fieldtype="r8"/>
<FIELD attrname="SAMMARY" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
